#include "UnitID3Tag.h"
#include "UnitID3Tag_Readers.h"

#include <QList>
#include <algorithm>
#include <cstring>
#include <vector>

bool MatchFrameID(const TFrameID& frameID, const char* id)
{
    const size_t length = std::strlen(id);
    return length <= frameID.size() && std::memcmp(frameID.data(), id, length) == 0;
}

QString TID3v2::*textFieldOf(const TFrameID& frameID)
{
    // Every frame of every file read is looked up here: ids are compared whole, four bytes at once.
    static const struct {
        TFrameID id;
        QString TID3v2::*field;
    } textFrames[] = {
        {{'T', 'I', 'T', '2'}, &TID3v2::Title},  {{'T', 'A', 'L', 'B'}, &TID3v2::Album},
        {{'T', 'R', 'C', 'K'}, &TID3v2::Track},  {{'T', 'P', 'E', '1'}, &TID3v2::Artist},
        {{'T', 'C', 'O', 'M'}, &TID3v2::Composer}, {{'T', 'O', 'P', 'E'}, &TID3v2::OrigArtist},
        {{'T', 'D', 'R', 'C'}, &TID3v2::Year},   {{'T', 'Y', 'E', 'R'}, &TID3v2::Year},
        {{'T', 'C', 'O', 'N'}, &TID3v2::Genre},  {{'T', 'E', 'N', 'C'}, &TID3v2::Encoder},
    };
    for (const auto& entry : textFrames) {
        if (entry.id == frameID)
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

bool isKnownFrameID(const TFrameID& id)
{
    static const std::vector<TFrameID> known = [] {
        std::vector<TFrameID> ids;
        const QByteArray names = "AENC APIC ASPI CHAP COMM COMR CTOC ENCR EQU2 EQUA ETCO GEOB GRID GRP1 IPLS LINK MCDI "
                                 "MLLT MVIN MVNM OWNE PCNT PCST POPM POSS PRIV RBUF RVA2 RVAD RVRB SEEK SIGN SYLT SYTC "
                                 "TALB TBPM TCAT TCMP TCOM TCON TCOP TDAT TDEN TDES TDLY TDOR TDRC TDRL TDTG TENC TEXT "
                                 "TFLT TGID TIME TIPL TIT1 TIT2 TIT3 TKEY TKWD TLAN TLEN TMCL TMED TMOO TOAL TOFN TOLY "
                                 "TOPE TORY TOWN TPE1 TPE2 TPE3 TPE4 TPOS TPRO TPUB TRCK TRDA TRSN TRSO TSIZ TSO2 TSOA "
                                 "TSOC TSOP TSOT TSRC TSSE TSST TXXX TYER UFID USER USLT WCOM WCOP WFED WOAF WOAR WOAS "
                                 "WORS WPAY WPUB WXXX";
        for (const QByteArray& name : names.split(' '))
            ids.push_back({name[0], name[1], name[2], name[3]});
        std::sort(ids.begin(), ids.end());
        return ids;
    }();
    return std::binary_search(known.begin(), known.end(), id);
}
