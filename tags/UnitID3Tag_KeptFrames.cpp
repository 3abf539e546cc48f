#include "UnitID3Tag_Readers.h"

#include <algorithm>
#include <map>

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

// A file that kept frames came from, open, with the frames its tag holds now.
struct Source {
    QFile file;
    TID3v2 tag;
};

using Sources = std::map<QString, std::unique_ptr<Source>>;

// `current`, when given, is the tag just read from `currentFile`, which spares reading it again.
Source& sourceOf(Sources& sources, const QString& fileName, const QString& currentFile, const TID3v2* current)
{
    std::unique_ptr<Source>& source = sources[fileName];
    if (source)
        return *source;
    source = std::make_unique<Source>();
    source->file.setFileName(fileName);
    if (!openForReading(source->file))
        raiseFrameGone(fileName);
    if (current && fileName == currentFile)
        source->tag = *current;
    else
        readID3v2From(source->file, source->file.size(), source->tag);
    return *source;
}

// The kept frame at `index` as its file holds it now: the frame alike in id, size and flags that
// has as many such frames before it as in the list.
QByteArray keptData(const TID3v2FrameList& frames, size_t index, Source& source)
{
    const TID3v2Frame& frame = frames[index];
    const auto alike = [&frame](const TID3v2Frame& other) {
        return isKept(other) && other.DataFile == frame.DataFile && sameFrame(other, frame);
    };
    auto before = std::count_if(frames.begin(), frames.begin() + qsizetype(index), alike);
    for (const TID3v2Frame& place : *source.tag.Frames) {
        if (!isKept(place) || !sameFrame(place, frame) || before-- > 0)
            continue;
        QByteArray data = readAt(source.file, place.DataOffset, place.Size);
        if (data.size() != place.Size)
            raiseFrameGone(frame.DataFile);
        return data;
    }
    raiseFrameGone(frame.DataFile);
}

}  // namespace

std::vector<QByteArray> frameDataOf(const TID3v2FrameList& frames, const QString& currentFile, const TID3v2& current)
{
    Sources sources;
    std::vector<QByteArray> data;
    data.reserve(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        const TID3v2Frame& frame = frames[i];
        data.push_back(isKept(frame) ? keptData(frames, i, sourceOf(sources, frame.DataFile, currentFile, &current))
                                     : frame.Data);
    }
    return data;
}

QByteArray frameData(const TID3v2& tag, const TID3v2Frame& frame)
{
    if (!isKept(frame))
        return frame.Data;
    const TID3v2FrameList& frames = *tag.Frames;
    const auto found = std::find_if(frames.begin(), frames.end(), [&frame](const TID3v2Frame& f) { return &f == &frame; });
    if (found == frames.end())
        raiseFrameGone(frame.DataFile);
    Sources sources;
    return keptData(frames, size_t(found - frames.begin()), sourceOf(sources, frame.DataFile, {}, nullptr));
}
