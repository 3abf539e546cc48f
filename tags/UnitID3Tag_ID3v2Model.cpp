#include "UnitID3Tag.h"

#include <cstring>

bool MatchFrameID(const TFrameID& frameID, const char* id)
{
    const size_t length = std::strlen(id);
    return length <= frameID.size() && std::memcmp(frameID.data(), id, length) == 0;
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
