#include "shared/controls/AlphaMericBox.h"

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

struct BoxSetup
{
    int caseType = 0;
    int dataType = 0;
    int maxLength = 0;
};

void Configure(AlphaMericBox &box, const BoxSetup &setup)
{
    box.SetCaseType(setup.caseType);
    box.SetDataType(setup.dataType);
    box.SetMaxLength(setup.maxLength);
}

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

// Warnings of the controls' log category, collected while it lives.
class WarningLog
{
public:
    WarningLog()
    {
        s_lines.clear();
        m_previous = qInstallMessageHandler(&WarningLog::Handle);
        s_previous = m_previous;
    }
    ~WarningLog() { qInstallMessageHandler(m_previous); }
    QStringList Lines() const { return s_lines; }

private:
    static void Handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtWarningMsg && context.category && qstrcmp(context.category, "zorva.controls") == 0)
            s_lines << message;
        else if (s_previous)
            s_previous(type, context, message);
    }
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
    QtMessageHandler m_previous;
};

TEST(AlphaMericBox, TypingKeepsOnlyWhatItsRulesAllow)
{
    const struct
    {
        BoxSetup setup;
        QString typed;
        QString text;
        qint64 value;
    } cases[] = {
        {{1, 0, 13}, QStringLiteral("o'neil & co"), QStringLiteral("O'NEIL & CO"), 0},
        {{1, 0, 13}, QStringLiteral("abcdefghijklmnopq"), QStringLiteral("ABCDEFGHIJKLM"), 0},
        {{1, 0, 1}, QStringLiteral("bx"), QStringLiteral("B"), 0},
        {{0, 0, 0}, QStringLiteral("MiXed Case"), QStringLiteral("MiXed Case"), 0},
        {{2, 0, 0}, QStringLiteral("MiXed"), QStringLiteral("mixed"), 0},
        {{1, 2, 4}, QStringLiteral("8a3:0x"), QStringLiteral("830"), 830},
        {{1, 2, 4}, QStringLiteral("123456"), QStringLiteral("1234"), 1234},
        {{0, 2, 0}, QStringLiteral("-12"), QStringLiteral("12"), 12},
        {{0, 2, 4}, QStringLiteral("0930"), QStringLiteral("0930"), 930},
        {{0, 0, 0}, QStringLiteral("12ab"), QStringLiteral("12ab"), 0},
        {{1, 2, 4}, QString(), QString(), 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        AlphaMericBox box;
        Configure(box, c.setup);
        QTest::keyClicks(&box, c.typed);
        EXPECT_EQ(box.Text(), c.text);
        EXPECT_EQ(box.Value(), c.value);
    }
}

TEST(AlphaMericBox, SetTextHoldsNothingTheKeyboardCouldNotEnter)
{
    const struct
    {
        BoxSetup setup;
        QString set;
        QString text;
    } cases[] = {
        {{1, 0, 13}, QStringLiteral("smith"), QStringLiteral("SMITH")},
        {{0, 0, 3}, QStringLiteral("abcdef"), QStringLiteral("abc")},
        {{0, 2, 0}, QStringLiteral("12:3a4"), QStringLiteral("1234")},
        {{1, 2, 4}, QString(), QString()},
    };
    for (const auto &c : cases) {
        AlphaMericBox box;
        Configure(box, c.setup);
        box.SetText(c.set);
        EXPECT_EQ(box.Text(), c.text) << c.set.toStdString();
    }
}

TEST(AlphaMericBox, LaterRulesApplyToTheTextAlreadyThere)
{
    AlphaMericBox box;
    box.SetText(QStringLiteral("ab12cd"));
    box.SetCaseType(1);
    EXPECT_EQ(box.Text(), QStringLiteral("AB12CD"));
    box.SetDataType(2);
    EXPECT_EQ(box.Text(), QStringLiteral("12"));
}

TEST(AlphaMericBox, NumericValueReadAndWritten)
{
    const struct
    {
        int dataType;
        qint64 set;
        QString text;
        qint64 value;
    } cases[] = {
        {2, 830, QStringLiteral("830"), 830},
        {2, 0, QStringLiteral("0"), 0},
        {2, -5, QStringLiteral("0"), 0},
        {0, -5, QStringLiteral("-5"), -5},
        {2, 123456789012345678, QStringLiteral("123456789012345678"), 123456789012345678},
    };
    for (const auto &c : cases) {
        AlphaMericBox box;
        box.SetDataType(c.dataType);
        box.SetValue(c.set);
        EXPECT_EQ(box.Text(), c.text) << c.set;
        EXPECT_EQ(box.Value(), c.value) << c.set;
    }
}

TEST(AlphaMericBox, AlignmentFollowsItsSetting)
{
    const struct
    {
        int alignment;
        Qt::Alignment horizontal;
    } cases[] = {{0, Qt::AlignLeft}, {1, Qt::AlignRight}, {2, Qt::AlignHCenter}, {7, Qt::AlignLeft}};
    for (const auto &c : cases) {
        AlphaMericBox box;
        box.SetAlignment(c.alignment);
        EXPECT_EQ(box.alignment() & Qt::AlignHorizontal_Mask, c.horizontal) << c.alignment;
    }
}

TEST(AlphaMericBox, EditedOnlyForTheUsersEditingChangeForEveryChange)
{
    AlphaMericBox box;
    box.SetCaseType(1);
    box.SetMaxLength(13);
    QSignalSpy changes(&box, &AlphaMericBox::Change);
    QSignalSpy edits(&box, &AlphaMericBox::Edited);

    box.SetText(QStringLiteral("JONES"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(edits.count(), 0);

    box.clear();
    QTest::keyClicks(&box, QStringLiteral("ab"));
    ASSERT_EQ(edits.count(), 2);
    EXPECT_EQ(edits.at(1).at(0).toString(), QStringLiteral("AB"));
    EXPECT_EQ(changes.count(), 4);

    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(edits.count(), 3);
    EXPECT_EQ(edits.at(2).at(0).toString(), QStringLiteral("A"));

    box.SetValue(7);
    EXPECT_EQ(edits.count(), 3);
    EXPECT_EQ(changes.count(), 6);
}

TEST(AlphaMericBox, RefusedKeystrokeChangesNothing)
{
    AlphaMericBox box;
    box.SetDataType(2);
    box.SetMaxLength(4);
    QTest::keyClicks(&box, QStringLiteral("12"));
    QSignalSpy changes(&box, &AlphaMericBox::Change);
    QSignalSpy edits(&box, &AlphaMericBox::Edited);
    QTest::keyClicks(&box, QStringLiteral("x "));
    EXPECT_EQ(box.Text(), QStringLiteral("12"));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(edits.count(), 0);
}

TEST(AlphaMericBox, PastedTextFollowsTheRules)
{
    const struct
    {
        BoxSetup setup;
        QString clipboard;
        QString text;
    } cases[] = {
        {{1, 0, 13}, QStringLiteral("baker"), QStringLiteral("BAKER")},
        {{0, 2, 4}, QStringLiteral("12:30"), QString()},
        {{0, 2, 4}, QStringLiteral("123456"), QStringLiteral("1234")},
    };
    for (const auto &c : cases) {
        AlphaMericBox box;
        Configure(box, c.setup);
        QSignalSpy edits(&box, &AlphaMericBox::Edited);
        QApplication::clipboard()->setText(c.clipboard);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box.Text(), c.text) << c.clipboard.toStdString();
        EXPECT_EQ(edits.count(), c.text.isEmpty() ? 0 : 1) << c.clipboard.toStdString();
    }
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
    WarningLog log;
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
