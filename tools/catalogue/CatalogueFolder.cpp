#include "catalogue/CatalogueFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// One path component taken from request text: refuses what would name the folder itself,
// its parent, or smuggle a separator or NUL into the path.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/')
           && !name.contains(QChar(0));
}

} // namespace

CatalogueFolder::CatalogueFolder(const QString &root)
{
    const QFileInfo info(root);
    if (info.isDir())
        m_root = info.canonicalFilePath();
}

bool CatalogueFolder::exists() const
{
    return !m_root.isEmpty();
}

QString CatalogueFolder::folderNameForKeywords(const QString &keywords)
{
    return QString(keywords).replace(u'/', u'_');
}

std::optional<QString> CatalogueFolder::pageStem(const QString &keywords, const QString &page)
{
    static const QRegularExpression pageNumber(QStringLiteral("^[1-9][0-9]{0,8}$"));
    const QString folder = folderNameForKeywords(keywords);
    if (!isPlainName(folder) || !pageNumber.match(page).hasMatch())
        return std::nullopt;
    return folder + QStringLiteral("/page-") + page;
}

std::optional<QString> CatalogueFolder::musicBrainzSearchStem(const QString &keywords)
{
    const QString name = folderNameForKeywords(keywords);
    if (!isPlainName(name))
        return std::nullopt;
    return QStringLiteral("musicbrainz/search/") + name;
}

std::optional<QString> CatalogueFolder::musicBrainzReleaseStem(const QString &mbid)
{
    if (!isMbid(mbid))
        return std::nullopt;
    return QStringLiteral("musicbrainz/release/") + mbid;
}

std::optional<QString> CatalogueFolder::coverArtStem(const QString &mbid)
{
    if (!isMbid(mbid))
        return std::nullopt;
    return QStringLiteral("coverart/") + mbid;
}

bool CatalogueFolder::isMbid(const QString &text)
{
    static const QRegularExpression uuid(
        QStringLiteral("^[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}$"));
    return uuid.match(text).hasMatch();
}

std::optional<QString> CatalogueFolder::answerFile(const std::optional<QString> &stem, const QString &suffix) const
{
    if (!stem)
        return std::nullopt;
    return fileInside(*stem + suffix);
}

std::optional<QString> CatalogueFolder::imageFile(const QString &name) const
{
    if (!isPlainName(name))
        return std::nullopt;
    return fileInside(QStringLiteral("images/") + name);
}

std::optional<QString> CatalogueFolder::coverArtImageFile(const QString &name) const
{
    if (!isPlainName(name))
        return std::nullopt;
    return fileInside(QStringLiteral("coverart/") + name);
}

std::optional<QString> CatalogueFolder::fileInside(const QString &relativePath) const
{
    if (m_root.isEmpty())
        return std::nullopt;
    const QFileInfo info(m_root + u'/' + relativePath);
    if (!info.isFile())
        return std::nullopt;
    // Resolves symbolic links: a link inside the folder that points outside is refused too.
    const QString real = info.canonicalFilePath();
    if (real.isEmpty() || !real.startsWith(m_root + u'/'))
        return std::nullopt;
    return real;
}
