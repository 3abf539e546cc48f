#pragma once

#include "AudioFixtures.h"
#include "TempDir.h"

// A short MPEG audio file with the given ID3v2 tag before and ID3v1 block after its frames.
inline QString writeAudio(const TempDir& dir, const QString& name, const QByteArray& id3v2 = {},
                          const QByteArray& id3v1 = {}, int layerID = 1)
{
    fixtures::MpegFrameShape shape;
    shape.layerID = layerID;
    return dir.write(name, id3v2 + fixtures::mpegFrames(shape, 30) + id3v1);
}

inline QByteArray id3v1WithTrack(const QByteArray& title, int track)
{
    fixtures::ID3v1Fields fields;
    fields.title = title;
    fields.track = track;
    return fixtures::id3v1Block(fields);
}
