// The status lines that close the file commands, and the question before tags are removed.
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
        {"Tagging", FileOutcome(), QStringLiteral("Tagging files finished...")},
        {"Renaming", FileOutcome(), QStringLiteral("Renaming files finished...")},
        {"Removing tags", FileOutcome(), std::nullopt},
        {"Removing tags", cancelled, QStringLiteral("Removing tags cancelled: 3 of 7 files changed.")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StatusText::fileCommandEnded(QString::fromLatin1(c.command), c.outcome, 7), c.line) << c.command;
}

TEST(StatusTextTest, TheRemovalQuestionCountsTheFiles)
{
    EXPECT_TRUE(StatusText::removeTagsQuestion(1).startsWith("Remove the ID3 tags of 1 file? Its title"));
    EXPECT_TRUE(StatusText::removeTagsQuestion(2).startsWith("Remove the ID3 tags of 2 files? Their titles"));
}
