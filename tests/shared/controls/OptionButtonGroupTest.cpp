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

TEST_F(OptionButtonGroupTest, NoneChosenAtTheStart)
{
    EXPECT_EQ(m_window.findChild<OptionButtonGroup *>(QStringLiteral("optAction")), m_group);
    EXPECT_EQ(m_group->Count(), 2);
    EXPECT_EQ(m_group->Value(), QString());
    EXPECT_EQ(m_group->ChosenIndex(), -1);
    ASSERT_NE(Button(0), nullptr);
    ASSERT_NE(Button(1), nullptr);
    EXPECT_EQ(Button(0)->text(), QStringLiteral("Check folders out"));
    EXPECT_EQ(Button(1)->text(), QStringLiteral("Check folders in"));
    EXPECT_FALSE(Button(0)->isChecked());
    EXPECT_FALSE(Button(1)->isChecked());
}

TEST_F(OptionButtonGroupTest, MouseClicksChooseAndReportTheirIndex)
{
    const struct
    {
        QList<int> clicks;
        QString value;
    } cases[] = {
        {{1}, QStringLiteral("*IN")},
        {{0}, QStringLiteral("*OUT")},
        {{1, 0}, QStringLiteral("*OUT")},
        {{0, 1, 1}, QStringLiteral("*IN")},
    };
    for (const auto &c : cases) {
        m_group->SetValue(QString());
        QSignalSpy clicks(m_group, &OptionButtonGroup::Click);
        for (int index : c.clicks)
            QTest::mouseClick(Button(index), Qt::LeftButton);
        EXPECT_EQ(m_group->Value(), c.value);
        ASSERT_EQ(clicks.count(), c.clicks.size());
        for (int i = 0; i < clicks.count(); ++i)
            EXPECT_EQ(clicks.at(i).at(0).toInt(), c.clicks.at(i));
    }
}

TEST_F(OptionButtonGroupTest, KeyboardChoosesToo)
{
    QSignalSpy clicks(m_group, &OptionButtonGroup::Click);
    Button(0)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Button(0), Qt::Key_Space);
    EXPECT_EQ(m_group->Value(), QStringLiteral("*OUT"));

    QTest::keyClick(Button(0), Qt::Key_Down);
    EXPECT_EQ(m_group->Value(), QStringLiteral("*IN"));
    EXPECT_TRUE(Button(1)->hasFocus());

    QTest::keyClick(Button(1), Qt::Key_Up);
    EXPECT_EQ(m_group->Value(), QStringLiteral("*OUT"));

    ASSERT_EQ(clicks.count(), 3);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 0);
    EXPECT_EQ(clicks.at(1).at(0).toInt(), 1);
    EXPECT_EQ(clicks.at(2).at(0).toInt(), 0);
}

TEST_F(OptionButtonGroupTest, ValueSetInCodeRaisesNoClick)
{
    const struct
    {
        QString set;
        QString value;
        int chosen;
    } cases[] = {
        {QStringLiteral("*IN"), QStringLiteral("*IN"), 1},
        {QStringLiteral("*OUT"), QStringLiteral("*OUT"), 0},
        {QString(), QString(), -1},
        {QStringLiteral("*IN"), QStringLiteral("*IN"), 1},
        {QStringLiteral("*ALL"), QString(), -1},
    };
    QSignalSpy clicks(m_group, &OptionButtonGroup::Click);
    for (const auto &c : cases) {
        m_group->SetValue(c.set);
        EXPECT_EQ(m_group->Value(), c.value) << c.set.toStdString();
        EXPECT_EQ(m_group->ChosenIndex(), c.chosen) << c.set.toStdString();
    }
    EXPECT_EQ(clicks.count(), 0);
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
