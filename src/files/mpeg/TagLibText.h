#pragma once

#include <QString>

#include <taglib/tstring.h>

// Text between Qt and TagLib, for the ID3 tag code.
namespace TagLibText {

inline QString toQString(const TagLib::String &text)
{
    // TagLib holds its text as wide characters; taking them as they are spares a trip
    // through UTF-8.
    return QString::fromWCharArray(text.toCWString(), qsizetype(text.size()));
}

inline TagLib::String toTagLib(const QString &text)
{
    return TagLib::String(text.toUtf8().toStdString(), TagLib::String::UTF8);
}

} // namespace TagLibText
