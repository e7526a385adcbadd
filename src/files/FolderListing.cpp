#include "files/FolderListing.h"

#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The run of digits that starts at `from`.
QStringView digitsAt(QStringView text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return text.mid(from, end - from);
}

// Two runs of digits by the numbers they write, however long and with however many leading zeros.
int compareNumbers(QStringView a, QStringView b)
{
    while (a.size() > 1 && a[0] == u'0')
        a = a.mid(1);
    while (b.size() > 1 && b[0] == u'0')
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

// One name of a path against another, character by character without regard to case, where
// both have digits as one number.
int compareNames(QStringView a, QStringView b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const QStringView left = digitsAt(a, i), right = digitsAt(b, j);
            if (const int order = compareNumbers(left, right))
                return order;
            i += left.size();
            j += right.size();
            continue;
        }
        const QChar left = a[i].toCaseFolded(), right = b[j].toCaseFolded();
        if (left != right)
            return left < right ? -1 : 1;
        ++i;
        ++j;
    }
    return int(i < a.size()) - int(j < b.size());
}

} // namespace

QStringList FolderListing::filesIn(const QStringList &paths)
{
    QStringList files;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            files.append(path);
            continue;
        }
        QDirIterator walk(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (walk.hasNext())
            files.append(walk.next());
    }
    return files;
}

bool FolderListing::naturallyBefore(const QString &a, const QString &b)
{
    const QList<QStringView> left = QStringView(a).split(u'/'), right = QStringView(b).split(u'/');
    for (qsizetype i = 0; i < left.size() && i < right.size(); ++i) {
        if (const int order = compareNames(left[i], right[i]))
            return order < 0;
    }
    if (left.size() != right.size())
        return left.size() < right.size();
    // Names equal but for case or leading zeros still need one order.
    return a < b;
}

void FolderListing::sortNaturally(QStringList &paths)
{
    std::stable_sort(paths.begin(), paths.end(), naturallyBefore);
}
