#include "files/TagFile.h"

#include "files/flac/FlacTagFile.h"
#include "files/mp4/Mp4TagFile.h"
#include "files/mpeg/MpegTagFile.h"
#include "files/ogg/OggTagFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/vorbisfile.h>

using namespace TagLib;

const QStringList &TagFile::suffixes()
{
    static const QStringList all = {"mp3", "flac", "ogg", "oga", "opus", "m4a", "m4b", "mp4"};
    return all;
}

std::unique_ptr<TagFile> TagFile::open(const QString &path)
{
    // Only a regular file is opened: a pipe would block, a device would be read for nothing.
    // MpegTagFile names what is wrong with anything else.
    const QByteArray encoded = QFile::encodeName(path);
    struct stat status {};
    const int fd = ::stat(encoded.constData(), &status) == 0 && S_ISREG(status.st_mode)
                       ? ::open(encoded.constData(), O_RDONLY | O_CLOEXEC)
                       : -1;
    if (fd < 0)
        return std::make_unique<MpegTagFile>(path);
    auto stream = std::make_unique<PlannedWriteStream>(fd, path, qint64(status.st_size));
    // TagLib's own tests of each format's content, whatever the file's name says; an MP3
    // file is an MP3 file even where "fLaC" happens to follow its tag, as TagLib decides too.
    if (Ogg::Vorbis::File::isSupported(stream.get()))
        return std::make_unique<OggTagFile>(path, std::move(stream), OggTagFile::Codec::Vorbis);
    if (Ogg::Opus::File::isSupported(stream.get()))
        return std::make_unique<OggTagFile>(path, std::move(stream), OggTagFile::Codec::Opus);
    if (Ogg::FLAC::File::isSupported(stream.get()))
        return std::make_unique<OggTagFile>(path, std::move(stream), OggTagFile::Codec::Flac);
    if (MP4::File::isSupported(stream.get()))
        return std::make_unique<Mp4TagFile>(path, std::move(stream));
    if (FLAC::File::isSupported(stream.get()) && !MPEG::File::isSupported(stream.get()))
        return std::make_unique<FlacTagFile>(path, std::move(stream));
    // The MP3 reader finds audio also behind junk that TagLib's quick test does not pass.
    return std::make_unique<MpegTagFile>(path);
}
