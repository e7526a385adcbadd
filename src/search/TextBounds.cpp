#include "search/TextBounds.h"

#include "search/RecordTextFields.h"

template <class Record, class Fields>
void TextBounds::boundFields(Record &record, const Fields &fields)
{
    for (const auto &field : fields) {
        const std::optional<QString> &text = (record.*field.get)();
        if (text && text->size() > maxLength) {
            (record.*field.set)(text->left(maxLength));
            m_cut = true;
        }
    }
}

void TextBounds::bound(ResultEntry &album)
{
    boundFields(album, albumTextFields);
    boundFields(album, albumEditionFields);
    if (!album.trackList())
        return;
    for (const std::shared_ptr<Track> &track : *album.trackList())
        boundFields(*track, trackTextFields);
}

QString TextBounds::cutStatus(const QString &source)
{
    return QStringLiteral("Texts in the answer from %1 were cut: a credit keeps %2 names, a title, name or credit "
                          "%3 characters.")
        .arg(source).arg(maxCreditNames).arg(maxLength);
}
