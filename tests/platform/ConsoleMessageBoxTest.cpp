#include "platform/ConsoleMessageBox.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(ConsoleMessageBox, WithoutAScriptAnswersWhatChangesNothing)
{
    ConsoleMessageBox box(nullptr);
    EXPECT_EQ(box.Show({1, "a", MsgIcon::Stop, MsgButtons::Ok}), MsgAnswer::Ok);
    EXPECT_EQ(box.Show({2, "b", MsgIcon::Question, MsgButtons::YesNo}), MsgAnswer::No);
    EXPECT_EQ(box.Show({3, "c", MsgIcon::Question, MsgButtons::YesNoCancel}), MsgAnswer::Cancel);
    ASSERT_EQ(box.Shown().size(), 3u);
    EXPECT_EQ(box.Shown()[2].stringId, 3);
    EXPECT_EQ(box.Shown()[2].text, "c");
}

TEST(ConsoleMessageBox, ScriptedAnswersComeInOrderThenTheDefault)
{
    ConsoleMessageBox box(nullptr);
    box.ScriptAnswer(MsgAnswer::Yes);
    box.ScriptAnswer(MsgAnswer::No);
    EXPECT_EQ(box.Show({0, "q1", MsgIcon::Question, MsgButtons::YesNoCancel}), MsgAnswer::Yes);
    EXPECT_EQ(box.Show({0, "q2", MsgIcon::Question, MsgButtons::YesNoCancel}), MsgAnswer::No);
    EXPECT_EQ(box.Show({0, "q3", MsgIcon::Question, MsgButtons::YesNoCancel}), MsgAnswer::Cancel);
}

TEST(ConsoleMessageBox, AnAnswerForEveryQuestionLeavesOkBoxesAlone)
{
    ConsoleMessageBox box(nullptr);
    box.AnswerEveryQuestion(MsgAnswer::Yes);
    EXPECT_EQ(box.Show({0, "done", MsgIcon::Information, MsgButtons::Ok}), MsgAnswer::Ok);
    EXPECT_EQ(box.Show({0, "q1", MsgIcon::Question, MsgButtons::YesNo}), MsgAnswer::Yes);
    EXPECT_EQ(box.Show({0, "q2", MsgIcon::Question, MsgButtons::YesNoCancel}), MsgAnswer::Yes);
    box.ScriptAnswer(MsgAnswer::No); // a script still comes first
    EXPECT_EQ(box.Show({0, "q3", MsgIcon::Question, MsgButtons::YesNo}), MsgAnswer::No);
}

TEST(ConsoleMessageBox, WritesTheTextWithOneLineEnd)
{
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    ConsoleMessageBox box(stream);
    box.Show({0, "first", MsgIcon::None, MsgButtons::Ok});
    box.Show({0, "second\n", MsgIcon::None, MsgButtons::Ok});
    std::rewind(stream);
    char buffer[64] = {};
    const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, stream);
    std::fclose(stream);
    EXPECT_EQ(std::string(buffer, n), "first\nsecond\n");
}
