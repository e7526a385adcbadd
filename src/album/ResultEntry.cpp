#include "album/ResultEntry.h"

#include "album/IntValue.h"

bool ResultEntry::setValue(const QString &value, const QString &key)
{
    if (key == u"artistName")
        setArtistName(value);
    else if (key == u"albumName")
        setAlbumName(value);
    else if (key == u"yearOfPublication")
        setYearOfPublication(value);
    else if (key == u"label")
        setLabel(value);
    else if (key == u"genre")
        setGenre(value);
    else if (key == u"numberOfTracks")
        setNumberOfTracks(intValue(value));
    else if (key == u"numberOfDiscs")
        setNumberOfDiscs(intValue(value));
    else
        return false;
    return true;
}
