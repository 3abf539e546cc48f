#include "UnitID3Tag.h"
#include "UnitID3Tag_Readers.h"

#include <cstring>

bool MatchFrameID(const TFrameID& frameID, const char* id)
{
    const size_t length = std::strlen(id);
    return length <= frameID.size() && std::memcmp(frameID.data(), id, length) == 0;
}

QString TID3v2::*textFieldOf(const TFrameID& frameID)
{
    static const struct {
        const char* id;
        QString TID3v2::*field;
    } textFrames[] = {
        {"TIT2", &TID3v2::Title},  {"TALB", &TID3v2::Album},    {"TRCK", &TID3v2::Track},
        {"TPE1", &TID3v2::Artist}, {"TCOM", &TID3v2::Composer}, {"TOPE", &TID3v2::OrigArtist},
        {"TDRC", &TID3v2::Year},   {"TYER", &TID3v2::Year},     {"TCON", &TID3v2::Genre},
        {"TENC", &TID3v2::Encoder},
    };
    for (const auto& entry : textFrames) {
        if (MatchFrameID(frameID, entry.id))
            return entry.field;
    }
    return nullptr;
}

void MakeNewID3v2Header(TID3v2& tag)
{
    tag.Identifier = {'I', 'D', '3'};
    tag.MajorVersion = 3;
    tag.RevisionByte = 0;
    tag.Flags = 0;
    tag.Unsynchronisation = 0;
    tag.ExtendedHeader = 0;
    tag.Experimental = 0;
    tag.FooterPresent = 0;
    tag.Present = true;
    tag.TagStart = 0;
    tag.Version = 3;
    tag.Revision = 0;
    tag.CommentLanguage = {0, 0, 0};
    tag.CommentDescription.clear();
}
