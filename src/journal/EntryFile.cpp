#include "journal/EntryFile.h"

#include <QFileInfo>
#include <QtEndian>

namespace EntryFile {

namespace {

constexpr qsizetype headerSize = 5;   // the size (4 bytes, big-endian) and the type

QDataStream &operator>>(QDataStream &in, RenameRecord &record)
{
    return in >> record.from >> record.to >> record.madeFolders;
}

// Reads the record's fields into `values`; false for fields that do not read whole.
template <typename... Values>
bool readFields(const QByteArray &bytes, Values &...values)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    (in >> ... >> values);
    return in.status() == QDataStream::Ok;
}

} // namespace

bool append(QFile &file, RecordType type, const QByteArray &fields, QString *reason)
{
    QByteArray record(headerSize, Qt::Uninitialized);
    qToBigEndian(quint32(fields.size()), record.data());
    record[4] = char(type);
    record += fields;
    if (file.write(record) != record.size()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

std::optional<Contents> read(const QString &path, Reading reading)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    Contents contents;
    contents.fileName = QFileInfo(path).fileName();
    bool begun = false;
    for (;;) {
        const QByteArray header = file.read(headerSize);
        if (header.size() < headerSize)
            break;
        const qint64 size = qFromBigEndian<quint32>(header.constData());
        const auto type = RecordType(quint8(header[4]));
        const bool wanted = type == RecordType::Begin || type == RecordType::Undone || reading == Reading::Changes;
        if (!wanted) {
            if (file.pos() + size > file.size())
                break;
            contents.changes += type == RecordType::Write || type == RecordType::Rename;
            file.seek(file.pos() + size);
            continue;
        }
        const QByteArray bytes = file.read(size);
        if (bytes.size() < size)
            break;
        if (!begun && type != RecordType::Begin)
            return std::nullopt;
        qint32 index = -1;
        qint64 modified = 0;
        switch (type) {
        case RecordType::Begin:
            begun = readFields(bytes, contents.what, contents.when);
            if (!begun)
                return std::nullopt;
            break;
        case RecordType::Write:
            if (WriteRecord record; readFields(bytes, record))
                contents.writes.append(record);
            ++contents.changes;
            break;
        case RecordType::Written:
            if (readFields(bytes, index, modified) && index >= 0 && index < contents.writes.size())
                contents.writes[index].writtenModifiedNs = modified;
            break;
        case RecordType::Rename:
            if (RenameRecord record; readFields(bytes, record))
                contents.renames.append(record);
            ++contents.changes;
            break;
        case RecordType::Renamed:
            if (readFields(bytes, index) && index >= 0 && index < contents.renames.size())
                contents.renames[index].done = true;
            break;
        case RecordType::Undone:
            contents.undone = true;
            break;
        }
    }
    if (!begun)
        return std::nullopt;
    return contents;
}

} // namespace EntryFile
