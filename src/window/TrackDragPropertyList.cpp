#include "window/TrackDragPropertyList.h"

#include <QVariantList>
#include <QVariantMap>
#include <QXmlStreamReader>

namespace {

// Track lists nest three deep; anything far deeper is not one, and must not exhaust the stack.
constexpr int maximumDepth = 16;

// Reads the value element the reader stands on, with its content, into a QVariant:
// dictionaries become maps, arrays lists, every scalar its text. The reader never
// resolves external entities, so a property list cannot make it load anything.
QVariant readValue(QXmlStreamReader &reader, int depth = 0)
{
    const auto element = reader.name();
    if ((element == u"dict" || element == u"array") && depth >= maximumDepth) {
        reader.raiseError(QStringLiteral("property list nested too deeply"));
        return {};
    }
    if (element == u"dict") {
        QVariantMap dict;
        QString key;
        while (reader.readNextStartElement()) {
            if (reader.name() == u"key")
                key = reader.readElementText();
            else
                dict.insert(key, readValue(reader, depth + 1));
        }
        return dict;
    }
    if (element == u"array") {
        QVariantList array;
        while (reader.readNextStartElement())
            array.append(readValue(reader, depth + 1));
        return array;
    }
    if (element == u"true" || element == u"false") {
        const bool value = element == u"true";
        reader.skipCurrentElement();
        return value;
    }
    return reader.readElementText(QXmlStreamReader::IncludeChildElements);
}

} // namespace

QStringList TrackDragPropertyList::locations(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    QVariant root;
    if (reader.readNextStartElement()) {
        if (reader.name() == u"plist") {
            if (reader.readNextStartElement())
                root = readValue(reader);
        } else {
            root = readValue(reader);
        }
    }
    if (reader.hasError())
        return {};

    // The tracks come keyed per track in a dictionary; a plain array is taken as well.
    const QVariant tracks = root.toMap().value(QStringLiteral("Tracks"));
    const QVariantList trackValues = tracks.typeId() == QMetaType::QVariantMap
        ? tracks.toMap().values() : tracks.toList();
    QStringList result;
    for (const QVariant &track : trackValues) {
        const QVariant location = track.toMap().value(QStringLiteral("Location"));
        if (location.typeId() == QMetaType::QString)
            result.append(location.toString());
    }
    return result;
}
