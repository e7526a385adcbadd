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

std::optional<QString> CatalogueFolder::pageFile(const QString &keywords, const QString &page) const
{
    return pageSibling(keywords, page, QStringLiteral(".xml"));
}

std::optional<QString> CatalogueFolder::faultFile(const QString &keywords, const QString &page) const
{
    return pageSibling(keywords, page, QStringLiteral(".fault"));
}

std::optional<QString> CatalogueFolder::imageFile(const QString &name) const
{
    if (!isPlainName(name))
        return std::nullopt;
    return fileInside(QStringLiteral("images/") + name);
}

std::optional<QString> CatalogueFolder::pageSibling(const QString &keywords, const QString &page,
                                                    const QString &suffix) const
{
    static const QRegularExpression pageNumber(QStringLiteral("^[1-9][0-9]{0,8}$"));
    const QString folder = folderNameForKeywords(keywords);
    if (!isPlainName(folder) || !pageNumber.match(page).hasMatch())
        return std::nullopt;
    return fileInside(folder + QStringLiteral("/page-") + page + suffix);
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
