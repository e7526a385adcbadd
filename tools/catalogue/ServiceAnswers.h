#pragma once

#include <QByteArray>
#include <QString>

// The answers the catalogue makes up rather than reads from its folder, each in its service's
// own XML shape. ItemSearch: "no exact matches" inside a normal ItemSearchResponse (HTTP
// 200), and the top-level error answers for a wrong signature or an unknown access key (HTTP
// 403). MusicBrainz: a search that found no release, and the error answer around a sentence.
namespace ServiceAnswers {

QByteArray noExactMatches(const QString &keywords, const QString &page);
QByteArray signatureDoesNotMatch();
QByteArray invalidClientTokenId();

QByteArray musicBrainzNoReleases();
QByteArray musicBrainzError(const QString &text);

} // namespace ServiceAnswers
