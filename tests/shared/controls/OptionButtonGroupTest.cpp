#include "shared/controls/OptionButtonGroup.h"

#include "QtPrinters.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// The docket and batch windows' action pair, inside a window as they place it.
class OptionButtonGroupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_group = new OptionButtonGroup(&m_window);
        m_group->setObjectName(QStringLiteral("optAction"));
        m_group->AddButton(QStringLiteral("Check folders out"), QStringLiteral("*OUT"));
        m_group->AddButton(QStringLiteral("Check folders in"), QStringLiteral("*IN"));
        (new QVBoxLayout(&m_window))->addWidget(m_group);
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    QRadioButton *Button(int index) const
    {
        return m_window.findChild<QRadioButton *>(QStringLiteral("optAction_") + QString::number(index));
    }

    QWidget m_window;
    OptionButtonGroup *m_group = nullptr;
};

// Steps: "click:i" (the mouse on button i), "space:i", "down:i", "up:i" (keys on button i), "set:v"
// (the program sets the value). After the steps: the value, the chosen index, and the indexes
// that Click reported, in order.
TEST_F(OptionButtonGroupTest, ChoosingByMouseKeyboardOrProgram)
{
    // clang-format off
    const struct { QStringList steps; QString value; int chosen; QList<int> clicks; } cases[] = {
        {{}, "", -1, {}},
        {{"click:1"}, "*IN", 1, {1}},
        {{"click:1", "click:0"}, "*OUT", 0, {1, 0}},
        {{"click:0", "click:1", "click:1"}, "*IN", 1, {0, 1, 1}},
        {{"space:0"}, "*OUT", 0, {0}},
        {{"space:0", "down:0"}, "*IN", 1, {0, 1}},
        {{"space:0", "down:0", "up:1"}, "*OUT", 0, {0, 1, 0}},
        // The program's choice raises no Click.
        {{"set:*IN"}, "*IN", 1, {}},
        {{"set:*IN", "set:"}, "", -1, {}},
        {{"click:0", "set:*ALL"}, "", -1, {0}},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.steps.join(' ').toStdString());
        m_group->SetValue(QString());
        QSignalSpy clicks(m_group, &OptionButtonGroup::Click);
        for (const QString &step : c.steps) {
            const QString what = step.section(':', 0, 0);
            const QString arg = step.section(':', 1);
            QRadioButton *button = what == "set" ? nullptr : Button(arg.toInt());
            if (what == "set") {
                m_group->SetValue(arg);
            } else if (what == "click") {
                QTest::mouseClick(button, Qt::LeftButton);
            } else {
                button->setFocus(Qt::TabFocusReason);
                QTest::keyClick(button, what == "space" ? Qt::Key_Space : what == "down" ? Qt::Key_Down : Qt::Key_Up);
            }
        }
        EXPECT_EQ(m_group->Value(), c.value);
        EXPECT_EQ(m_group->ChosenIndex(), c.chosen);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(Button(i)->isChecked(), i == c.chosen);
        QList<int> reported;
        for (const QList<QVariant> &click : clicks)
            reported << click.at(0).toInt();
        EXPECT_EQ(reported, c.clicks);
    }
}

TEST_F(OptionButtonGroupTest, ButtonsFollowTheGroupsNameAndSettings)
{
    m_group->setObjectName(QStringLiteral("optOther"));
    EXPECT_EQ(Button(0), nullptr);
    EXPECT_NE(m_window.findChild<QRadioButton *>(QStringLiteral("optOther_1")), nullptr);

    m_group->SetCaption(1, QStringLiteral("Return folders"));
    m_group->SetValueWhenTrue(1, QStringLiteral("*BACK"));
    m_group->SetAlignment(1, OptionButtonGroup::CaptionLeft);
    QRadioButton *second = m_group->Button(1);
    EXPECT_EQ(second->text(), QStringLiteral("Return folders"));
    EXPECT_EQ(m_group->Caption(1), QStringLiteral("Return folders"));
    EXPECT_EQ(second->layoutDirection(), Qt::RightToLeft);
    QTest::mouseClick(second, Qt::LeftButton);
    EXPECT_EQ(m_group->Value(), QStringLiteral("*BACK"));

    // Out-of-range indexes are no-ops, never crashes.
    m_group->SetCaption(5, QStringLiteral("x"));
    m_group->SetValueWhenTrue(-1, QStringLiteral("x"));
    EXPECT_EQ(m_group->Button(5), nullptr);
    EXPECT_EQ(m_group->ValueWhenTrue(5), QString());
}

TEST_F(OptionButtonGroupTest, AButtonMovedElsewhereStillBelongsToTheGroup)
{
    QWidget frame(&m_window);
    m_group->Button(1)->setParent(&frame);
    m_group->Button(1)->show();
    frame.show();
    QSignalSpy clicks(m_group, &OptionButtonGroup::Click);
    QTest::mouseClick(m_group->Button(0), Qt::LeftButton);
    QTest::mouseClick(m_group->Button(1), Qt::LeftButton);
    EXPECT_EQ(m_group->Value(), QStringLiteral("*IN"));
    EXPECT_FALSE(m_group->Button(0)->isChecked());
    EXPECT_EQ(clicks.count(), 2);
}

} // namespace
