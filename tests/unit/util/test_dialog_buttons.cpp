#include "util/dialog_buttons.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <tuple>

using namespace tamble;

namespace {

struct ButtonsCase {
    DialogButtons buttons;
    QStringList captions;             // in order, as shown
    std::vector<DialogAnswer> answers;  // of the non-Help buttons, in order
    bool hasHelp;
};

} // namespace

TEST(DialogButtons, EachSetShowsItsButtonsInOrderWithTheirAnswers)
{
    using A = DialogAnswer;
    const std::vector<ButtonsCase> cases = {
        {DialogButtons::Ok, {"OK"}, {A::Ok}, false},
        {DialogButtons::OkHelp, {"OK", "&Help"}, {A::Ok}, true},
        {DialogButtons::OkCancel, {"OK", "Cancel"}, {A::Ok, A::Cancel}, false},
        {DialogButtons::YesNo, {"&Yes", "&No"}, {A::Yes, A::No}, false},
        {DialogButtons::OkRetryHelp, {"OK", "&Retry", "&Help"}, {A::Ok, A::Retry}, true},
        {DialogButtons::YesNoCancel, {"&Yes", "&No", "Cancel"}, {A::Yes, A::No, A::Cancel}, false},
    };
    for (const ButtonsCase& c : cases) {
        SCOPED_TRACE(c.captions.join(QLatin1Char(',')).toStdString());
        QStringList captions;
        std::vector<DialogAnswer> answers;
        bool help = false;
        int escapes = 0;
        for (const MessageButton& choice : MessageButtons(c.buttons)) {
            captions << choice.caption;
            if (choice.help)
                help = true;
            else
                answers.push_back(choice.answer);
            escapes += choice.escape ? 1 : 0;
            // Closing the box (Esc) must give what an unanswered message gives.
            if (choice.escape) {
                EXPECT_FALSE(choice.help);
                EXPECT_EQ(choice.answer, DefaultAnswer(c.buttons));
            }
        }
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(answers, c.answers);
        EXPECT_EQ(help, c.hasHelp);
        EXPECT_EQ(escapes, 1);
    }
}

TEST(DialogButtons, DefaultIsTheFirstAnswerUnlessTheAnswerErasesData)
{
    const std::vector<std::tuple<DialogButtons, bool, int>> cases = {
        {DialogButtons::OkCancel, false, 0}, {DialogButtons::OkCancel, true, 1},
        {DialogButtons::YesNo, false, 0},    {DialogButtons::YesNo, true, 1},
        {DialogButtons::YesNoCancel, true, 1}, {DialogButtons::OkHelp, true, 0},   // nothing safer than OK
    };
    for (const auto& [buttons, destructive, index] : cases) {
        UserMessage m{DialogKind::Warning, QStringLiteral("x"), buttons};
        m.destructive = destructive;
        EXPECT_EQ(DefaultButtonIndex(m), index) << static_cast<int>(buttons) << destructive;
    }
}

TEST(DialogButtons, TitleIsTheCaptionElseTheKindsTitle)
{
    const std::vector<std::tuple<DialogKind, QString, QString>> cases = {
        {DialogKind::Information, QString(), QStringLiteral("Information")},
        {DialogKind::Warning, QString(), QStringLiteral("Warning")},
        {DialogKind::Error, QString(), QStringLiteral("Error")},
        {DialogKind::Confirmation, QString(), QStringLiteral("Confirm")},
        {DialogKind::Error, QStringLiteral("Serial Link"), QStringLiteral("Serial Link")},
    };
    for (const auto& [kind, caption, title] : cases) {
        UserMessage m;
        m.kind = kind;
        m.caption = caption;
        EXPECT_EQ(DialogTitle(m), title);
    }
}

TEST(DialogButtons, MnemonicMarksAreDroppedAndDoubledAmpersandsKept)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("&Help"), QStringLiteral("Help")},
        {QStringLiteral("OK"), QStringLiteral("OK")},
        {QStringLiteral("Save &As..."), QStringLiteral("Save As...")},
        {QStringLiteral("Fish && &Chips"), QStringLiteral("Fish & Chips")},
        {QStringLiteral("Trailing&"), QStringLiteral("Trailing")},
        {QString(), QString()},
    };
    for (const auto& [caption, plain] : cases)
        EXPECT_EQ(WithoutMnemonic(caption), plain) << caption.toStdString();
}
