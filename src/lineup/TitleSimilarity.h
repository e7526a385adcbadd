#pragma once

#include <QList>
#include <QString>

// How alike two titles read once case, accents, punctuation and "feat." credits are set
// aside: "Déjà Vu (feat. Guest)" and "deja-vu" are the same title.
class TitleSimilarity {
public:
    // The title in lower case with accents taken off its letters, "feat." parts dropped and
    // every run of other characters made one space.
    static QString normalised(const QString &title);

    // Built once per title, compared many times.
    explicit TitleSimilarity(const QString &title);

    // 0 for nothing in common, 1 for the same title; a title found whole inside a longer
    // name (an artist in front, a note behind) still scores high.
    double with(const TitleSimilarity &other) const;
    bool isEmpty() const { return m_pairs.isEmpty(); }

private:
    // The letter pairs of every word, the word's edges included, sorted.
    QList<quint32> m_pairs;
};
