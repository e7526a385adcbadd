#pragma once

#include <QString>

// One ID3v2 text frame as the file handler exchanges it with a tag object: its four-letter
// identifier and its text. Tag objects write it in ID3v2.4 with UTF-8 text.
class Id3TextFrame {
public:
    Id3TextFrame(QString frameId, QString text) : m_frameId(std::move(frameId)), m_text(std::move(text)) {}

    const QString &frameId() const { return m_frameId; }
    const QString &getTextFromFrame() const { return m_text; }

private:
    QString m_frameId;
    QString m_text;
};
