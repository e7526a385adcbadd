#include "files/PropertyTagFile.h"

#include "album/IntValue.h"
#include "files/CatalogueIds.h"
#include "files/DurableWriteBatch.h"
#include "files/ImageEncoding.h"

#include <QFileInfo>

#include <taglib/audioproperties.h>
#include <taglib/tfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/tag.h>

using namespace TagLib;

namespace {

QString toQString(const String &text)
{
    return QString::fromStdString(text.to8Bit(true));
}

String toTagLib(const QString &text)
{
    return String(text.toStdString(), String::UTF8);
}

QString firstValue(const PropertyMap &properties, const char *key)
{
    const auto found = properties.find(key);
    return found == properties.end() || found->second.isEmpty() ? QString() : toQString(found->second.front());
}

// A number and its total from "n/T", the total also from a field of its own.
std::pair<qint32, qint32> numberAndTotal(const PropertyMap &properties, const char *key, const char *totalKey,
                                         const char *otherTotalKey)
{
    const QString text = firstValue(properties, key);
    qint32 total = intValue(text.section(u'/', 1, 1));
    if (total <= 0)
        total = intValue(firstValue(properties, totalKey));
    if (total <= 0)
        total = intValue(firstValue(properties, otherTotalKey));
    return {qMax(intValue(text.section(u'/', 0, 0)), 0), qMax(total, 0)};
}

void setText(PropertyMap &properties, const char *key, const QString &value)
{
    if (value.isEmpty())
        properties.erase(key);
    else
        properties.replace(key, StringList(toTagLib(value)));
}

QString positive(qint32 value)
{
    return value > 0 ? QString::number(value) : QString();
}

} // namespace

PropertyTagFile::PropertyTagFile(QString path, std::unique_ptr<PlannedWriteStream> stream, Numbering numbering)
    : m_path(std::move(path)), m_stream(std::move(stream)), m_numbering(numbering)
{
}

PropertyTagFile::~PropertyTagFile()
{
    m_file.reset();
}

QString PropertyTagFile::problem()
{
    if (!m_file->isValid())
        return QStringLiteral("a damaged audio file (its headers cannot be read)");
    return formatProblem();
}

std::optional<TagValues> PropertyTagFile::read(CoverReading cover)
{
    if (!m_file->isValid())
        return std::nullopt;
    const PropertyMap properties = m_file->properties();
    const QByteArray picture = firstPicture();
    if (properties.isEmpty() && picture.isEmpty())
        return std::nullopt;
    TagValues values;
    values.trackArtist = firstValue(properties, "ARTIST");
    values.albumArtist = firstValue(properties, "ALBUMARTIST");
    if (values.albumArtist.isEmpty())
        values.albumArtist = *values.trackArtist;
    values.album = firstValue(properties, "ALBUM");
    values.title = firstValue(properties, "TITLE");
    values.year = qMax(intValue(firstValue(properties, "DATE")), 0);
    std::tie(values.trackNumber, values.trackCount) = numberAndTotal(properties, "TRACKNUMBER", "TRACKTOTAL", "TOTALTRACKS");
    std::tie(values.discNumber, values.discCount) = numberAndTotal(properties, "DISCNUMBER", "DISCTOTAL", "TOTALDISCS");
    if (const QString genre = firstValue(properties, "GENRE"); !genre.isEmpty())
        values.genres = QStringList{genre};
    for (const CatalogueIdField &field : catalogueIdFields)
        values.id(field.id) = firstValue(properties, field.property);
    if (cover == CoverReading::Decode && !picture.isEmpty()) {
        const QImage image = QImage::fromData(encodedImage(QImage::fromData(picture), "JPEG"));
        if (!image.isNull())
            values.cover = image;
    }
    return values;
}

std::optional<qint64> PropertyTagFile::lengthMs()
{
    const AudioProperties *properties = m_file->isValid() ? m_file->audioProperties() : nullptr;
    if (!properties || properties->lengthInMilliseconds() <= 0)
        return std::nullopt;
    return properties->lengthInMilliseconds();
}

void PropertyTagFile::putValues(PropertyMap &properties, const TagValues &values) const
{
    setText(properties, "ARTIST", values.trackArtist.value_or(values.albumArtist));
    setText(properties, "ALBUMARTIST", values.albumArtist);
    setText(properties, "ALBUM", values.album);
    setText(properties, "TITLE", values.title);
    setText(properties, "DATE", positive(values.year));
    StringList genres;
    for (const QString &genre : values.genres) {
        if (!genre.isEmpty())
            genres.append(toTagLib(genre));
    }
    if (genres.isEmpty())
        properties.erase("GENRE");
    else
        properties.replace("GENRE", genres);
    const qint32 disc = values.discNumber > 0 ? values.discNumber : values.discCount;
    // Other spellings of the totals would be second answers for the same value.
    for (const char *alias : {"TOTALTRACKS", "TOTALDISCS"})
        properties.erase(alias);
    if (m_numbering == Numbering::SeparateTotals) {
        setText(properties, "TRACKNUMBER", positive(values.trackNumber));
        setText(properties, "TRACKTOTAL", positive(values.trackCount));
        setText(properties, "DISCNUMBER", positive(disc));
        setText(properties, "DISCTOTAL", positive(values.discCount));
    } else {
        const auto pair = [](qint32 number, qint32 total) {
            return total > 0 ? QStringLiteral("%1/%2").arg(qMax(number, 0)).arg(total) : positive(number);
        };
        setText(properties, "TRACKNUMBER", pair(values.trackNumber, values.trackCount));
        setText(properties, "DISCNUMBER", pair(disc, values.discCount));
    }
    for (const CatalogueIdField &field : catalogueIdFields)
        setText(properties, field.property, values.id(field.id));
    properties.erase("COMMENT");
}

bool PropertyTagFile::stageWrite(const TagValues &values, DurableWriteBatch &batch, QString *reason)
{
    if (*reason = problem(); !reason->isEmpty())
        return false;
    PropertyMap properties = m_file->properties();
    putValues(properties, values);
    m_file->setProperties(properties);
    m_file->tag()->setComment(String());
    if (!values.frontCoverJpeg.isEmpty())
        setFrontCover(values.frontCoverJpeg);
    return save(batch, reason);
}

bool PropertyTagFile::stageRemoval(DurableWriteBatch &batch, QString *reason)
{
    if (*reason = problem(); !reason->isEmpty())
        return false;
    removeEverything();
    return save(batch, reason);
}

bool PropertyTagFile::save(DurableWriteBatch &batch, QString *reason)
{
    // Writes go to the file a link points at.
    const QString target = QFileInfo(m_path).canonicalFilePath();
    if (target.isEmpty()) {
        *reason = QStringLiteral("no such file");
        return false;
    }
    if (!m_file->save()) {
        *reason = QStringLiteral("its tags could not be laid out anew");
        return false;
    }
    afterSave();
    FileContentsPlan plan = m_stream->plan();
    if (plan.byteRunCount() > 1)
        plan.requireNewFile();
    return batch.stage(target, plan, reason);
}
