// The floor with TagLib alone: writes the same values as our tagging into every file given
// (MP3: ID3v2 frames; FLAC: Vorbis comment and a PICTURE block; MP4: items and "covr"), with
// TagLib's own save in place, and flushes each file to disk.
// Usage: bench_tagging_taglib COVER.jpg FILE...
#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

using namespace TagLib;

static void setText(ID3v2::Tag *tag, const char *id, const std::string &text)
{
    tag->removeFrames(id);
    auto *frame = new ID3v2::TextIdentificationFrame(id, String::UTF8);
    frame->setText(String(text, String::UTF8));
    tag->addFrame(frame);
}

static bool tagMp3(const char *path, int number, int count, const ByteVector &cover)
{
    MPEG::File file(path, false);
    ID3v2::Tag *tag = file.ID3v2Tag(true);
    setText(tag, "TPE1", "The Benchmark Orchestra");
    setText(tag, "TIT2", "Piece number " + std::to_string(number));
    setText(tag, "TALB", "Two Hundred Pieces");
    setText(tag, "TCON", "Classical");
    setText(tag, "TDRC", "2024");
    setText(tag, "TRCK", std::to_string(number) + "/" + std::to_string(count));
    setText(tag, "TPOS", "1/1");
    tag->removeFrames("APIC");
    auto *picture = new ID3v2::AttachedPictureFrame;
    picture->setMimeType("image/jpeg");
    picture->setType(ID3v2::AttachedPictureFrame::FrontCover);
    picture->setPicture(cover);
    tag->addFrame(picture);
    tag->removeFrames("COMM");
    setText(tag, "TPE2", "The Benchmark Orchestra");
    return file.save(MPEG::File::ID3v2, MPEG::File::StripNone, ID3v2::v4, MPEG::File::DoNotDuplicate);
}

// The same values under TagLib's property names, for FLAC and MP4.
static void setProperties(File &file, int number, int count, bool pairs)
{
    PropertyMap properties = file.properties();
    const auto set = [&properties](const char *key, const std::string &value) {
        properties.replace(key, StringList(String(value, String::UTF8)));
    };
    set("ARTIST", "The Benchmark Orchestra");
    set("ALBUMARTIST", "The Benchmark Orchestra");
    set("TITLE", "Piece number " + std::to_string(number));
    set("ALBUM", "Two Hundred Pieces");
    set("GENRE", "Classical");
    set("DATE", "2024");
    if (pairs) {
        set("TRACKNUMBER", std::to_string(number) + "/" + std::to_string(count));
        set("DISCNUMBER", "1/1");
    } else {
        set("TRACKNUMBER", std::to_string(number));
        set("TRACKTOTAL", std::to_string(count));
        set("DISCNUMBER", "1");
        set("DISCTOTAL", "1");
    }
    properties.erase("COMMENT");
    file.setProperties(properties);
}

static bool tagFlac(const char *path, int number, int count, const ByteVector &cover)
{
    FLAC::File file(path);
    setProperties(file, number, count, false);
    file.removePictures();
    auto *picture = new FLAC::Picture;
    picture->setType(FLAC::Picture::FrontCover);
    picture->setMimeType("image/jpeg");
    picture->setData(cover);
    file.addPicture(picture);
    return file.save();
}

static bool tagMp4(const char *path, int number, int count, const ByteVector &cover)
{
    MP4::File file(path);
    setProperties(file, number, count, true);
    MP4::CoverArtList covers;
    covers.append(MP4::CoverArt(MP4::CoverArt::JPEG, cover));
    file.tag()->setItem("covr", covers);
    return file.save();
}

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_tagging_taglib COVER.jpg FILE...\n");
        return 2;
    }
    std::ifstream coverFile(argv[1], std::ios::binary);
    const std::string coverBytes((std::istreambuf_iterator<char>(coverFile)), std::istreambuf_iterator<char>());
    const ByteVector cover(coverBytes.data(), static_cast<unsigned>(coverBytes.size()));
    const int count = argc - 2;
    for (int i = 0; i < count; ++i) {
        const std::string path = argv[i + 2];
        const std::string suffix = path.substr(path.rfind('.') + 1);
        const bool saved = suffix == "flac" ? tagFlac(path.c_str(), i + 1, count, cover)
                           : suffix == "m4a" ? tagMp4(path.c_str(), i + 1, count, cover)
                                             : tagMp3(path.c_str(), i + 1, count, cover);
        if (!saved)
            return 1;
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0 || ::fdatasync(fd) != 0)
            return 1;
        ::close(fd);
    }
    return 0;
}
