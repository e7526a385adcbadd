#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

// The largest side of a cover as the search keeps it: plenty for a tag's picture, and small
// enough that the thirty covers of a search take little memory (under 4 MiB each).
constexpr int coverSide = 1000;

// Decodes a fetched cover picture, refusing pictures whose pixel size is beyond reason, so a
// small compressed file cannot make us allocate gigabytes, and pictures that end early
// (pictureEndsEarly), and scales a larger one down to fit coverSide a side, so a search holds
// little whatever the pictures are.
std::optional<QImage> decodeCoverImage(const QByteArray &bytes);

// Why decodeCoverImage refused the picture fetched from the URL, in words a user can act on.
QString refusedCoverReason(const QByteArray &bytes, const QString &url);
