#include "shared/controls/AlphaMericBox.h"

#include "ControlWarnings.h"
#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "records/FolderStatements.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// What the box offers right now: nothing unless its pop-up is showing.
QStringList Offered(AlphaMericBox &box)
{
    QCompleter *completer = box.findChild<QCompleter *>();
    if (!completer || !completer->popup()->isVisible())
        return {};
    QStringList entries;
    const QAbstractItemModel *model = completer->completionModel();
    for (int row = 0; row < model->rowCount(); ++row)
        entries << model->index(row, 0).data().toString();
    return entries;
}


// How text reaches the box: typed key by key, set by the program, set as a number, or pasted.
enum class Entry { Typed, SetText, SetValue, Pasted };

TEST(AlphaMericBox, WhatTheBoxHoldsAndReports)
{
    using A = AlphaMericBox;
    // clang-format off
    const struct { int caseType, dataType, maxLength; Entry entry; QString input; QString text; qint64 value; int edits; } cases[] = {
        // The party boxes: upper case, 13 characters.
        {A::CaseUpper, A::DataText, 13, Entry::Typed, "o'neil & co", "O'NEIL & CO", 0, 11},
        {A::CaseUpper, A::DataText, 13, Entry::Typed, "abcdefghijklmnopq", "ABCDEFGHIJKLM", 0, 13},
        {A::CaseUpper, A::DataText, 13, Entry::SetText, "smith", "SMITH", 0, 0},
        {A::CaseUpper, A::DataText, 13, Entry::Pasted, "baker", "BAKER", 0, 1},
        {A::CaseAsTyped, A::DataText, 0, Entry::Typed, "MiXed Case", "MiXed Case", 0, 10},
        {A::CaseLower, A::DataText, 0, Entry::Typed, "MiXed", "mixed", 0, 5},
        {A::CaseAsTyped, A::DataText, 3, Entry::SetText, "abcdef", "abc", 0, 0},
        // The docket's time boxes: digits only, four of them.
        {A::CaseUpper, A::DataNumeric, 4, Entry::Typed, "8a3:0x", "830", 830, 3},
        {A::CaseUpper, A::DataNumeric, 4, Entry::Typed, "123456", "1234", 1234, 4},
        {A::CaseAsTyped, A::DataNumeric, 0, Entry::Typed, "-12", "12", 12, 2},
        {A::CaseAsTyped, A::DataNumeric, 4, Entry::Typed, "0930", "0930", 930, 4},
        {A::CaseAsTyped, A::DataNumeric, 0, Entry::SetText, "12:3a4", "1234", 1234, 0},
        {A::CaseAsTyped, A::DataNumeric, 4, Entry::Pasted, "12:30", "", 0, 0},
        {A::CaseAsTyped, A::DataNumeric, 4, Entry::Pasted, "123456", "1234", 1234, 1},
        {A::CaseAsTyped, A::DataNumeric, 0, Entry::SetValue, "830", "830", 830, 0},
        {A::CaseAsTyped, A::DataNumeric, 0, Entry::SetValue, "-5", "0", 0, 0},
        {A::CaseAsTyped, A::DataText, 0, Entry::SetValue, "-5", "-5", -5, 0},
        {A::CaseAsTyped, A::DataNumeric, 0, Entry::SetValue, "123456789012345678", "123456789012345678", 123456789012345678, 0},
        {A::CaseAsTyped, A::DataText, 0, Entry::Typed, "12ab", "12ab", 0, 4},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        AlphaMericBox box;
        box.SetCaseType(c.caseType);
        box.SetDataType(c.dataType);
        box.SetMaxLength(c.maxLength);
        QSignalSpy changes(&box, &AlphaMericBox::Change);
        QSignalSpy edits(&box, &AlphaMericBox::Edited);
        switch (c.entry) {
        case Entry::Typed:
            QTest::keyClicks(&box, c.input);
            break;
        case Entry::SetText:
            box.SetText(c.input);
            break;
        case Entry::SetValue:
            box.SetValue(c.input.toLongLong());
            break;
        case Entry::Pasted:
            QApplication::clipboard()->setText(c.input);
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
            break;
        }
        EXPECT_EQ(box.Text(), c.text);
        EXPECT_EQ(box.Value(), c.value);
        // Edited is the user's editing only, with the text after it; Change is every change.
        EXPECT_EQ(edits.count(), c.edits);
        if (!edits.isEmpty()) {
            EXPECT_EQ(edits.last().at(0).toString(), c.text);
        }
        EXPECT_EQ(changes.count() > 0, !c.text.isEmpty());
    }
}

TEST(AlphaMericBox, RefusedKeystrokeChangesNothing)
{
    AlphaMericBox box;
    box.SetDataType(AlphaMericBox::DataNumeric);
    box.SetMaxLength(4);
    QTest::keyClicks(&box, QStringLiteral("1234"));
    QSignalSpy changes(&box, &AlphaMericBox::Change);
    QSignalSpy edits(&box, &AlphaMericBox::Edited);
    QTest::keyClicks(&box, QStringLiteral("x 5"));
    EXPECT_EQ(box.Text(), QStringLiteral("1234"));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(edits.count(), 0);
}

class AlphaMericBoxSuggestions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // One row per folder: SMITH holds two, and "smythe" was stored in small letters.
        m_world.Exec(
            QStringLiteral("INSERT INTO MRLCRT.FILCHK (FILYER,FILTYP,FILSEQ,FILOTO,FILUDT,FILUSR) VALUES "
                           "(2009,'CV',1,'SMITH',1052026,'CLERK1'),"
                           "(2009,'CV',2,'SMITH',1052026,'CLERK1'),"
                           "(2009,'CR',3,'smythe',12042026,'CLERK2'),"
                           "(2010,'CV',4,'SMALL',12042026,'CLERK2'),"
                           "(2010,'CR',5,'JONES',12042026,'CLERK1'),"
                           "(2011,'CR',6,'ASMITH',12042026,'CLERK1')"));
    }

    // The editor's party box.
    void MakePartyBox(AlphaMericBox &box, int minChars)
    {
        box.SetCaseType(1);
        box.SetMaxLength(13);
        box.SetRecordSource(QString::fromLatin1(FolderStatements::PartySuggestions));
        box.SetMinCharsToActivate(minChars);
        box.show();
        box.activateWindow();
        box.setFocus();
    }

    TestWorld m_world;
};

TEST_F(AlphaMericBoxSuggestions, OffersEarlierPartiesFromTheGivenNumberOfCharactersOn)
{
    const struct
    {
        int minChars;
        QString typed;
        QStringList offered;
    } cases[] = {
        {2, QStringLiteral("s"), {}},
        {2,
         QStringLiteral("sm"),
         {QStringLiteral("SMALL"), QStringLiteral("SMITH"), QStringLiteral("SMYTHE")}},
        {2, QStringLiteral("smi"), {QStringLiteral("SMITH")}},
        {3, QStringLiteral("sm"), {}},
        {1, QStringLiteral("j"), {QStringLiteral("JONES")}},
        {2, QStringLiteral("zz"), {}},
        {0, QStringLiteral("a"), {QStringLiteral("ASMITH")}},
    };
    for (const auto &c : cases) {
        AlphaMericBox box;
        MakePartyBox(box, c.minChars);
        QTest::keyClicks(&box, c.typed);
        EXPECT_EQ(Offered(box), c.offered) << c.minChars << " " << c.typed.toStdString();
    }
}

TEST_F(AlphaMericBoxSuggestions, ListWithdrawnWhenTheTextFallsBelowTheMinimum)
{
    AlphaMericBox box;
    MakePartyBox(box, 2);
    QTest::keyClicks(&box, QStringLiteral("sm"));
    ASSERT_FALSE(Offered(box).isEmpty());
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_TRUE(Offered(box).isEmpty());
}

TEST_F(AlphaMericBoxSuggestions, TextSetInCodeOffersNothing)
{
    AlphaMericBox box;
    MakePartyBox(box, 2);
    box.SetText(QStringLiteral("SM"));
    EXPECT_TRUE(Offered(box).isEmpty());
}

TEST_F(AlphaMericBoxSuggestions, PickingAnEntryIsAnEdit)
{
    AlphaMericBox box;
    MakePartyBox(box, 2);
    QTest::keyClicks(&box, QStringLiteral("smy"));
    ASSERT_EQ(Offered(box), QStringList{QStringLiteral("SMYTHE")});
    QSignalSpy edits(&box, &AlphaMericBox::Edited);

    QAbstractItemView *popup = box.findChild<QCompleter *>()->popup();
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);

    EXPECT_EQ(box.Text(), QStringLiteral("SMYTHE"));
    ASSERT_EQ(edits.count(), 1);
    EXPECT_EQ(edits.at(0).at(0).toString(), QStringLiteral("SMYTHE"));
    EXPECT_FALSE(popup->isVisible());
}

TEST_F(AlphaMericBoxSuggestions, DatabaseErrorIsLoggedAndOffersNothing)
{
    ModalAnswerer answerer;
    ControlWarnings log;
    AlphaMericBox box;
    MakePartyBox(box, 2);
    box.SetRecordSource(
        QStringLiteral("Select FILOTO From MRLCRT.NOSUCH Where FILOTO Like ? Order By FILOTO"));

    QTest::keyClicks(&box, QStringLiteral("smi"));
    QTest::qWait(50);

    EXPECT_EQ(box.Text(), QStringLiteral("SMI"));
    EXPECT_TRUE(Offered(box).isEmpty());
    EXPECT_TRUE(answerer.Seen().isEmpty());
    ASSERT_EQ(log.Lines().size(), 2);
    EXPECT_TRUE(log.Lines().first().contains(QStringLiteral("NOSUCH"), Qt::CaseInsensitive))
        << log.Lines().first().toStdString();
}

} // namespace
