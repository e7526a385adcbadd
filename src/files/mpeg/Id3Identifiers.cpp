#include "files/mpeg/Id3Identifiers.h"

#include "files/CatalogueIds.h"
#include "files/mpeg/MpegTags.h"

namespace {

// The owner of the unique file identifier that holds the recording.
const QString recordingOwner = QStringLiteral("http://musicbrainz.org");

} // namespace

namespace Id3Identifiers {

void read(const MpegTags &tag, TagValues &values)
{
    for (const CatalogueIdField &field : catalogueIdFields) {
        values.id(field.id) = field.id3Description
                                  ? tag.getUserText(QString::fromLatin1(field.id3Description)).value_or(QString())
                                  : QString::fromUtf8(tag.getUniqueFileIdentifier(recordingOwner).value_or(QByteArray()));
    }
}

void write(MpegTags &tag, const TagValues &values)
{
    for (const CatalogueIdField &field : catalogueIdFields) {
        if (field.id3Description)
            tag.setUserText(QString::fromLatin1(field.id3Description), values.id(field.id));
        else   // the frame holds bytes; an identifier is plain ASCII, which UTF-8 keeps byte for byte
            tag.setUniqueFileIdentifier(recordingOwner, values.id(field.id).toUtf8());
    }
}

} // namespace Id3Identifiers
