// The status lines that close the file commands where the window's tests do not reach them:
// the finished lines of tagging and renaming, and a cancelled tagging's, are checked there.
#include "session/StatusText.h"

#include <gtest/gtest.h>

TEST(StatusTextTest, FileCommandsEndWithTheirOwnLineOrNone)
{
    FileOutcome cancelled;
    cancelled.cancelled = true;
    cancelled.filesHandled = 3;
    const struct {
        const char *command;
        FileOutcome outcome;
        std::optional<QString> line;
    } cases[] = {
        {"Removing tags", FileOutcome(), std::nullopt},
        {"Removing tags", cancelled, QStringLiteral("Removing tags cancelled: 3 of 7 files changed.")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StatusText::fileCommandEnded(QString::fromLatin1(c.command), c.outcome, 7), c.line) << c.command;
}
