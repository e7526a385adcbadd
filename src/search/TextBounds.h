#pragma once

#include "album/ResultEntry.h"

#include <QString>

// Bounds on the texts an album takes from a catalogue's answer or an album file, so that no
// answer can make an album, or what is written from it, large: a credit joins at most
// maxCreditNames names, and any text is cut at maxLength characters. One instance serves one
// answer and remembers whether it cut anything, to be said once.
class TextBounds {
public:
    static constexpr qsizetype maxLength = 1000;
    static constexpr qsizetype maxCreditNames = 50;

    // Cuts every text field of the album and of its tracks to maxLength.
    void bound(ResultEntry &album);
    // For a credit that left names out.
    void noteCut() { m_cut = true; }
    bool cut() const { return m_cut; }

    // The status line that says the texts of an answer from the source were cut.
    static QString cutStatus(const QString &source);

private:
    template <class Record, class Fields>
    void boundFields(Record &record, const Fields &fields);

    bool m_cut = false;
};
