// Linked into every test program: the tests, and every program they run, keep their data
// (the undo journal) in the build tree, never in the user's data folder.
#include <QByteArray>

namespace {

const bool dataHomeSet = qputenv("XDG_DATA_HOME", QByteArray(TAGWRIGHT_TEST_DATA_HOME));

} // namespace
