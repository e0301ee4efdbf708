#include "core/Messages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace derode;

TEST(Messages, ScriptedAnswererRecordsKindCaptionTextAndAnswers)
{
    test::ScriptedAnswerer answerer;
    answerer.planAnswer(0);
    EXPECT_FALSE(core::askYesNo("\r\nSupprimer ?"));
    EXPECT_EQ(core::showError("Erreur", "Titre"), 1);
    ASSERT_EQ(answerer.shown().size(), 2u);
    EXPECT_EQ(answerer.shown()[0].kind, core::MessageKind::Question);
    EXPECT_EQ(answerer.shown()[0].text, "\r\nSupprimer ?");
    EXPECT_EQ(answerer.shown()[1].kind, core::MessageKind::Error);
    EXPECT_EQ(answerer.shown()[1].caption, "Titre");
}

TEST(Messages, WithoutPresenterEveryQuestionIsAnsweredNo)
{
    core::MessagePresenter* saved = core::messagePresenter();
    core::setMessagePresenter(nullptr);
    EXPECT_FALSE(core::askYesNo("?"));
    core::setMessagePresenter(saved);
}
