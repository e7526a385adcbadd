#pragma once

#include "identify/Identification.h"

#include <QJsonObject>
#include <QString>

// The command line's JSON form of an identified album: {"folder", "files", "clues",
// "candidates": [{"score", "album", "pairing": [{"file", "track"}]}]}, the candidates best
// first, each album as `album` prints it and "track" the index of the file's track, or null.
QJsonObject identificationToJson(const Identification &identification);

// One line naming a candidate: "Album" by Artist (release ID), score 0.97.
QString candidateLine(const Candidate &candidate);
