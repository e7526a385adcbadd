#include "lineup/TitleSimilarity.h"

#include <QRegularExpression>
#include <algorithm>

QString TitleSimilarity::normalised(const QString &title)
{
    // Compatibility decomposition splits "é" into "e" and its accent, and "ﬁ" into "fi".
    QString text = title.normalized(QString::NormalizationForm_KD).toCaseFolded();
    // A guest credit in brackets, or one running to the end, is not part of the title.
    static const QRegularExpression bracketedCredit(QStringLiteral(R"([(\[]\s*(?:feat\.?|ft\.|featuring)\s[^)\]]*[)\]]?)"));
    static const QRegularExpression trailingCredit(QStringLiteral(R"(\s(?:feat\.?|ft\.|featuring)\s.*$)"));
    text.remove(bracketedCredit);
    text.remove(trailingCredit);

    QString result;
    result.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        if (c.isMark())
            continue;
        if (c.isLetterOrNumber())
            result.append(c);
        else if (!result.isEmpty() && !result.endsWith(u' '))
            result.append(u' ');
    }
    if (result.endsWith(u' '))
        result.chop(1);
    return result;
}

TitleSimilarity::TitleSimilarity(const QString &title)
{
    const QString text = normalised(title);
    QChar previous = u' ';
    for (const QChar c : text) {
        m_pairs.append(quint32(previous.unicode()) << 16 | c.unicode());
        previous = c;
    }
    if (!text.isEmpty())
        m_pairs.append(quint32(previous.unicode()) << 16 | u' ');
    std::sort(m_pairs.begin(), m_pairs.end());
}

double TitleSimilarity::with(const TitleSimilarity &other) const
{
    if (isEmpty() || other.isEmpty())
        return 0;
    qsizetype common = 0;
    for (auto a = m_pairs.cbegin(), b = other.m_pairs.cbegin(); a != m_pairs.cend() && b != other.m_pairs.cend();) {
        if (*a < *b) {
            ++a;
        } else if (*b < *a) {
            ++b;
        } else {
            ++common;
            ++a;
            ++b;
        }
    }
    // Dice's coefficient says how alike the titles are as a whole; the share of the shorter
    // title found in the longer one catches a title inside a longer name, trusted less the
    // shorter the title is, as two letters are found in almost any name.
    const double dice = 2.0 * double(common) / double(m_pairs.size() + other.m_pairs.size());
    const double shorter = double(std::min(m_pairs.size(), other.m_pairs.size()));
    const double contained = double(common) / shorter * shorter / (shorter + 4);
    return std::max(dice, contained);
}
