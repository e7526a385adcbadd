// The floor with TagLib alone: writes the same frames as our tagging into every MP3 file
// given, with TagLib's own save, and flushes each file to disk.
// Usage: bench_tagging_taglib COVER.jpg FILE...
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

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

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_tagging_taglib COVER.jpg FILE...\n");
        return 2;
    }
    std::ifstream coverFile(argv[1], std::ios::binary);
    const std::string cover((std::istreambuf_iterator<char>(coverFile)), std::istreambuf_iterator<char>());
    const int count = argc - 2;
    for (int i = 0; i < count; ++i) {
        const char *path = argv[i + 2];
        {
            MPEG::File file(path, false);
            ID3v2::Tag *tag = file.ID3v2Tag(true);
            setText(tag, "TPE1", "The Benchmark Orchestra");
            setText(tag, "TIT2", "Piece number " + std::to_string(i + 1));
            setText(tag, "TALB", "Two Hundred Pieces");
            setText(tag, "TCON", "Classical");
            setText(tag, "TDRC", "2024");
            setText(tag, "TRCK", std::to_string(i + 1) + "/" + std::to_string(count));
            setText(tag, "TPOS", "1/1");
            tag->removeFrames("APIC");
            auto *picture = new ID3v2::AttachedPictureFrame;
            picture->setMimeType("image/jpeg");
            picture->setType(ID3v2::AttachedPictureFrame::FrontCover);
            picture->setPicture(ByteVector(cover.data(), static_cast<unsigned>(cover.size())));
            tag->addFrame(picture);
            tag->removeFrames("COMM");
            setText(tag, "TPE2", "The Benchmark Orchestra");
            if (!file.save(MPEG::File::ID3v2, MPEG::File::StripNone, ID3v2::v4, MPEG::File::DoNotDuplicate))
                return 1;
        }
        const int fd = ::open(path, O_RDONLY);
        if (fd < 0 || ::fdatasync(fd) != 0)
            return 1;
        ::close(fd);
    }
    return 0;
}
