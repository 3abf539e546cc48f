#include "UnitID3Tag_Readers.h"

#include <algorithm>
#include <map>
#include <optional>

namespace {

bool isKept(const TID3v2Frame& frame)
{
    return frame.DataOffset >= 0;
}

bool sameFrame(const TID3v2Frame& a, const TID3v2Frame& b)
{
    return a.FrameID == b.FrameID && a.SizeBytes == b.SizeBytes && a.Flags == b.Flags;
}

[[noreturn]] void raiseFrameGone(const QString& fileName)
{
    throw TagFileError("A frame of '" + fileNameForMessage(fileName).toStdString() + "' is no longer in the file");
}

// A file that kept frames may be in, open, with the frames its tag holds now.
struct Source {
    ReadFile& file;
    TID3v2 tag;
};

// Every file opened for one lookup; nullptr for a file that cannot be opened.
class Sources {
public:
    // The file open already, with the tag just read from it.
    Source* add(ReadFile& file, const TID3v2& tag)
    {
        return sources.emplace(file.fileName(), std::make_unique<Source>(Source{file, tag})).first->second.get();
    }

    Source* open(const QString& fileName)
    {
        const auto known = sources.find(fileName);
        if (known != sources.end())
            return known->second.get();
        auto file = std::make_unique<ReadFile>(fileName);
        if (!file->isOpen()) {
            sources.emplace(fileName, nullptr);
            return nullptr;
        }
        auto source = std::make_unique<Source>(Source{*file, TID3v2()});
        readID3v2From(source->file, source->tag);
        opened.push_back(std::move(file));
        return sources.emplace(fileName, std::move(source)).first->second.get();
    }

private:
    std::vector<std::unique_ptr<ReadFile>> opened;
    std::map<QString, std::unique_ptr<Source>> sources;
};

// The bytes of a kept frame are taken only from the file its record was read from, as it was
// read: the same file (under its name then, or one a rename gave it since), its length, its date
// and the bytes of its tag that were read unchanged. Any other file, even with a frame alike, is
// not it.
bool isAsRead(const Source& source, const TFileState& read)
{
    const TFileState& now = *source.tag.ReadState;
    return read.Size >= 0 && now.Size == read.Size && now.Device == read.Device && now.Inode == read.Inode
        && now.ModifyTime == read.ModifyTime && now.TagDigest == read.TagDigest;
}

// The kept frame at `index` as a file holds it now: the frame alike in id, size and flags that has
// as many such frames before it as in the list. Nothing when the file has no such frame, or when
// it is not the file as read.
std::optional<QByteArray> keptData(const TID3v2FrameList& frames, size_t index, Source* source, const TFileState& read)
{
    if (!source || !isAsRead(*source, read))
        return std::nullopt;
    const TID3v2Frame& frame = frames[index];
    const auto alike = [&frame](const TID3v2Frame& other) {
        return isKept(other) && other.DataFile == frame.DataFile && sameFrame(other, frame);
    };
    auto before = std::count_if(frames.begin(), frames.begin() + qsizetype(index), alike);
    for (const TID3v2Frame& place : *source->tag.Frames) {
        if (!isKept(place) || !sameFrame(place, frame) || before-- > 0)
            continue;
        QByteArray data = source->file.readAt(place.DataOffset, place.Size);
        if (data.size() != frame.Size)
            return std::nullopt;
        return data;
    }
    return std::nullopt;
}

}  // namespace

std::vector<QByteArray> frameDataOf(const TID3v2& tag, ReadFile& currentFile, const TID3v2& current)
{
    const TID3v2FrameList& frames = *tag.Frames;
    Sources sources;
    Source* const written = sources.add(currentFile, current);
    std::vector<QByteArray> data;
    data.reserve(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        const TID3v2Frame& frame = frames[i];
        if (!isKept(frame)) {
            data.push_back(frame.Data);
            continue;
        }
        // The file being written first: the record's own file, even under a name a rename gave it
        // since; then the file the frame was read from.
        std::optional<QByteArray> kept = keptData(frames, i, written, *tag.ReadState);
        if (!kept)
            kept = keptData(frames, i, sources.open(frame.DataFile), *tag.ReadState);
        if (!kept)
            raiseFrameGone(frame.DataFile);
        data.push_back(std::move(*kept));
    }
    return data;
}

QByteArray frameData(const TID3v2& tag, const TID3v2Frame& frame)
{
    if (!isKept(frame))
        return frame.Data;
    const TID3v2FrameList& frames = *tag.Frames;
    const auto found = std::find_if(frames.begin(), frames.end(), [&frame](const TID3v2Frame& f) { return &f == &frame; });
    Sources sources;
    std::optional<QByteArray> kept;
    if (found != frames.end())
        kept = keptData(frames, size_t(found - frames.begin()), sources.open(frame.DataFile), *tag.ReadState);
    if (!kept)
        raiseFrameGone(frame.DataFile);
    return *kept;
}
