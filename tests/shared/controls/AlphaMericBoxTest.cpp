#include "shared/controls/AlphaMericBox.h"

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

using A = AlphaMericBox;

// How text reaches the box: typed key by key, set by the program, set as a number, or pasted.
enum class Entry { Typed, SetText, SetValue, Pasted };

// clang-format off
TEST(AlphaMericBox, WhatTheBoxHoldsAndReports)
{
    const struct { int caseType, dataType, maxLength; Entry entry; QString input, text; qint64 value; int edits; } cases[] = {
        // The party boxes: upper case, 13 characters.
        {A::CaseUpper, A::DataText, 13, Entry::Typed, "o'neil & co", "O'NEIL & CO", 0, 11},
        {A::CaseUpper, A::DataText, 13, Entry::Typed, "abcdefghijklmnopq", "ABCDEFGHIJKLM", 0, 13},
        {A::CaseUpper, A::DataText, 13, Entry::Pasted, "baker", "BAKER", 0, 1},
        {A::CaseLower, A::DataText, 0, Entry::Typed, "MiXed", "mixed", 0, 5},
        // The docket's time boxes: digits only, four of them.
        {A::CaseUpper, A::DataNumeric, 4, Entry::Typed, "8a3:0x", "830", 830, 3},
        {A::CaseAsTyped, A::DataNumeric, 0, Entry::SetText, "12:3a4", "1234", 1234, 0},
        {A::CaseAsTyped, A::DataNumeric, 4, Entry::Pasted, "12:30", "", 0, 0},
        {A::CaseAsTyped, A::DataNumeric, 0, Entry::SetValue, "-5", "0", 0, 0},
        {A::CaseAsTyped, A::DataText, 0, Entry::SetValue, "-5", "-5", -5, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        AlphaMericBox box;
        box.SetCaseType(c.caseType);
        box.SetDataType(c.dataType);
        box.SetMaxLength(c.maxLength);
        QSignalSpy edits(&box, &AlphaMericBox::Edited);
        QApplication::clipboard()->setText(c.input);
        if (c.entry == Entry::Typed)
            QTest::keyClicks(&box, c.input);
        else if (c.entry == Entry::Pasted)
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        else
            c.entry == Entry::SetText ? box.SetText(c.input) : box.SetValue(c.input.toLongLong());
        EXPECT_EQ(box.Text(), c.text);
        EXPECT_EQ(box.Value(), c.value);
        // Edited is the user's editing only, with the text after it.
        EXPECT_EQ(edits.count(), c.edits);
        if (!edits.isEmpty()) {
            EXPECT_EQ(edits.last().at(0).toString(), c.text);
        }
    }
}

// The editor's party box offers the earlier parties like what is typed, from a number of characters on;
// when they cannot be read, nothing is offered and the typing goes on.
TEST(AlphaMericBox, OffersEarlierParties)
{
    const struct { int minChars; QString typed; QStringList offered; const char *court = ""; } cases[] = {
        {2, "s", {}},
        {2, "sm", {"SMALL", "SMITH", "SMYTHE"}},
        {3, "sm", {}},
        {2, "sm", {}, "DROP TABLE MRLCRT.FILCHK"},
    };
    TestWorld world;
    world.Exec("INSERT INTO MRLCRT.FILCHK (FILYER,FILTYP,FILSEQ,FILOTO,FILUDT,FILUSR) VALUES (2009,'CV',1,'SMITH',1052026,'C1'),"
               "(2009,'CV',2,'SMITH',1052026,'C1'),(2009,'CR',3,'smythe',1052026,'C1'),(2010,'CV',4,'SMALL',1052026,'C1')");
    for (const auto &c : cases) {
        if (*c.court)
            world.Exec(c.court);
        AlphaMericBox box;
        box.SetCaseType(A::CaseUpper);
        box.SetRecordSource(QString::fromLatin1(FolderStatements::PartySuggestions));
        box.SetMinCharsToActivate(c.minChars);
        box.show();
        box.activateWindow();
        box.setFocus();
        QTest::keyClicks(&box, c.typed);
        QStringList offered;
        const QCompleter *completer = box.findChild<QCompleter *>();
        for (int row = 0; completer && completer->popup()->isVisible() && row < completer->completionModel()->rowCount(); ++row)
            offered << completer->completionModel()->index(row, 0).data().toString();
        EXPECT_EQ(offered, c.offered) << c.minChars << " " << c.typed.toStdString();
        EXPECT_EQ(box.Text(), c.typed.toUpper());
    }
}
// clang-format on

} // namespace
