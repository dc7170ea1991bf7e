#include "shared/controls/Combo.h"

#include "QtPrinters.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString WriteFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

// A reference table in the ADO persistence form; a null cell leaves the attribute out.
QString WriteRowset(const QTemporaryDir &dir, const QString &name, const QStringList &fields,
                    const QList<QStringList> &rows)
{
    QString xml = QStringLiteral(
        "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' "
        "xmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882' xmlns:rs='urn:schemas-microsoft-com:rowset' "
        "xmlns:z='#RowsetSchema'>\n<s:Schema id='RowsetSchema'><s:ElementType name='row' "
        "content='eltOnly'>\n");
    for (int i = 0; i < fields.size(); ++i)
        xml += QStringLiteral("<s:AttributeType name='%1' rs:number='%2'><s:datatype dt:type='string'/>"
                              "</s:AttributeType>\n")
                   .arg(fields.at(i))
                   .arg(i + 1);
    xml += QStringLiteral("<s:extends type='rs:rowbase'/></s:ElementType></s:Schema>\n<rs:data>\n");
    for (const QStringList &row : rows) {
        xml += QStringLiteral("<z:row");
        for (int i = 0; i < fields.size() && i < row.size(); ++i)
            if (!row.at(i).isNull())
                xml += QStringLiteral(" %1='%2'").arg(fields.at(i), row.at(i));
        xml += QStringLiteral("/>\n");
    }
    xml += QStringLiteral("</rs:data>\n</xml>\n");
    return WriteFile(dir, name, xml.toUtf8());
}

QStringList Column(const Combo &combo, int col)
{
    QStringList cells;
    for (int row = 0; row < combo.Rows(); ++row)
        cells << combo.Cell(row, col);
    return cells;
}

// The docket window's judge list: active flag and code, the code being both value and display.
void MakeJudgeCombo(Combo &combo)
{
    combo.SetCols(2);
    combo.SetHeaderCaptions({QStringLiteral("Active"), QStringLiteral("Judge")});
    combo.SetKeyItems({QStringLiteral("Col0"), QStringLiteral("Col1")});
    combo.SetHiddenItems({false, false});
    combo.SetDataField(QStringLiteral("1"));
    combo.SetDataFieldToDisplay(QStringLiteral("1"));
}

class ComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_judges = WriteRowset(m_dir, QStringLiteral("ARYJDG.XML"),
                               {QStringLiteral("JDGACT"), QStringLiteral("JDGCOD")},
                               {{QStringLiteral("Y"), QStringLiteral("ALV")},
                                {QStringLiteral("Y"), QStringLiteral("GAR")},
                                {QStringLiteral("Y"), QStringLiteral("SMI")},
                                {QString(), QStringLiteral("JON")},
                                {QStringLiteral("N"), QStringLiteral("BRK")}});
        MakeJudgeCombo(m_combo);
    }

    QTemporaryDir m_dir;
    QString m_judges;
    Combo m_combo;
};

TEST_F(ComboTest, LoadsTheFileFieldsAsColumnsWithNothingChosen)
{
    QString error;
    ASSERT_TRUE(m_combo.LoadFromFile(m_judges, &error)) << error.toStdString();
    EXPECT_EQ(m_combo.Cols(), 2);
    EXPECT_EQ(Column(m_combo, 0), (QStringList{QStringLiteral("Y"), QStringLiteral("Y"), QStringLiteral("Y"),
                                               QString(), QStringLiteral("N")}));
    EXPECT_EQ(Column(m_combo, 1),
              (QStringList{QStringLiteral("ALV"), QStringLiteral("GAR"), QStringLiteral("SMI"),
                           QStringLiteral("JON"), QStringLiteral("BRK")}));
    EXPECT_EQ(m_combo.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Active"));
    EXPECT_EQ(m_combo.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Judge"));
    EXPECT_FALSE(m_combo.IsValid());
    EXPECT_EQ(m_combo.Value(), QString());
}

TEST_F(ComboTest, InsertedRowLandsAtItsListPosition)
{
    const struct
    {
        int position;
        int row;
    } cases[] = {{1, 0}, {0, 0}, {-3, 0}, {2, 1}, {5, 4}, {6, 5}, {99, 5}};
    for (const auto &c : cases) {
        ASSERT_TRUE(m_combo.LoadFromFile(m_judges));
        m_combo.InsertRow(QStringLiteral("Y\t*ALL"), c.position);
        ASSERT_EQ(m_combo.Rows(), 6);
        EXPECT_EQ(m_combo.Cell(c.row, 0), QStringLiteral("Y")) << c.position;
        EXPECT_EQ(m_combo.Cell(c.row, 1), QStringLiteral("*ALL")) << c.position;
        EXPECT_FALSE(m_combo.IsValid()) << c.position;
    }
}

TEST_F(ComboTest, InsertingKeepsTheChoice)
{
    ASSERT_TRUE(m_combo.LoadFromFile(m_judges));
    m_combo.SetValue(QStringLiteral("GAR"));
    QSignalSpy changes(&m_combo, &Combo::Change);
    m_combo.InsertRow(QStringLiteral("Y\t*ALL"), 1);
    EXPECT_EQ(m_combo.Value(), QStringLiteral("GAR"));
    EXPECT_EQ(m_combo.currentIndex(), 2);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(ComboTest, ValidOnlyForValuesOnTheList)
{
    ASSERT_TRUE(m_combo.LoadFromFile(m_judges));
    m_combo.InsertRow(QStringLiteral("Y\t*ALL"), 1);
    const struct
    {
        QString set;
        bool valid;
        QString value;
        int changes;
    } cases[] = {
        {QStringLiteral("*ALL"), true, QStringLiteral("*ALL"), 1},
        {QStringLiteral("*ALL"), true, QStringLiteral("*ALL"), 0},
        {QStringLiteral("SMI"), true, QStringLiteral("SMI"), 1},
        {QStringLiteral("XYZ"), false, QString(), 1},
        {QStringLiteral("smi"), false, QString(), 0},
        {QStringLiteral("BRK"), true, QStringLiteral("BRK"), 1},
        {QStringLiteral("Y"), false, QString(), 1},
        {QString(), false, QString(), 0},
    };
    for (const auto &c : cases) {
        QSignalSpy changes(&m_combo, &Combo::Change);
        m_combo.SetValue(c.set);
        EXPECT_EQ(m_combo.IsValid(), c.valid) << c.set.toStdString();
        EXPECT_EQ(m_combo.Value(), c.value) << c.set.toStdString();
        EXPECT_EQ(m_combo.currentText(), c.value) << c.set.toStdString();
        EXPECT_EQ(changes.count(), c.changes) << c.set.toStdString();
    }
}

TEST_F(ComboTest, ValueAndShownColumnsByKeyOrNumber)
{
    const struct
    {
        QString dataField;
        QString displayField;
        QString value;
        QString shown;
    } cases[] = {
        {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("BRK"), QStringLiteral("BRK")},
        {QStringLiteral("Col0"), QStringLiteral("Col1"), QStringLiteral("N"), QStringLiteral("BRK")},
        {QStringLiteral("col1"), QStringLiteral("0"), QStringLiteral("BRK"), QStringLiteral("N")},
        {QString(), QString(), QStringLiteral("N"), QStringLiteral("N")},
        {QStringLiteral("7"), QStringLiteral("Nope"), QStringLiteral("N"), QStringLiteral("N")},
    };
    ASSERT_TRUE(m_combo.LoadFromFile(m_judges));
    for (const auto &c : cases) {
        m_combo.setCurrentIndex(4);
        m_combo.SetDataField(c.dataField);
        m_combo.SetDataFieldToDisplay(c.displayField);
        EXPECT_EQ(m_combo.Value(), c.value) << c.dataField.toStdString();
        EXPECT_EQ(m_combo.currentText(), c.shown) << c.displayField.toStdString();
    }
}

TEST_F(ComboTest, FileThatCannotBeReadLeavesTheListEmpty)
{
    const QString notXml = WriteFile(m_dir, QStringLiteral("BAD.XML"), "<xml><unclosed>");
    const QString noSchema = WriteFile(m_dir, QStringLiteral("EMPTY.XML"), "<xml><data/></xml>");
    for (const QString &path : {m_dir.filePath(QStringLiteral("MISSING.XML")), notXml, noSchema}) {
        ASSERT_TRUE(m_combo.LoadFromFile(m_judges));
        m_combo.SetValue(QStringLiteral("SMI"));
        QSignalSpy changes(&m_combo, &Combo::Change);
        QString error;
        EXPECT_FALSE(m_combo.LoadFromFile(path, &error)) << path.toStdString();
        EXPECT_FALSE(error.isEmpty()) << path.toStdString();
        EXPECT_EQ(m_combo.Rows(), 0) << path.toStdString();
        EXPECT_FALSE(m_combo.IsValid()) << path.toStdString();
        EXPECT_EQ(changes.count(), 1) << path.toStdString();
    }
    // A row can still be added, as the windows add "*ALL" after loading.
    m_combo.InsertRow(QStringLiteral("Y\t*ALL"), 1);
    m_combo.SetValue(QStringLiteral("*ALL"));
    EXPECT_TRUE(m_combo.IsValid());
}

TEST_F(ComboTest, ReloadingKeepsAChoiceStillOnTheList)
{
    ASSERT_TRUE(m_combo.LoadFromFile(m_judges));
    m_combo.SetValue(QStringLiteral("SMI"));
    QSignalSpy changes(&m_combo, &Combo::Change);
    ASSERT_TRUE(m_combo.LoadFromFile(m_judges));
    EXPECT_EQ(m_combo.Value(), QStringLiteral("SMI"));
    EXPECT_EQ(changes.count(), 0);

    const QString fewer =
        WriteRowset(m_dir, QStringLiteral("FEWER.XML"), {QStringLiteral("JDGACT"), QStringLiteral("JDGCOD")},
                    {{QStringLiteral("Y"), QStringLiteral("ALV")}});
    ASSERT_TRUE(m_combo.LoadFromFile(fewer));
    EXPECT_FALSE(m_combo.IsValid());
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(ComboTest, TypingACodeChoosesIt)
{
    const struct
    {
        QString typed;
        QString value;
    } cases[] = {
        {QStringLiteral("G"), QStringLiteral("GAR")},
        {QStringLiteral("br"), QStringLiteral("BRK")},
        {QStringLiteral("*"), QStringLiteral("*ALL")},
        {QStringLiteral("SM"), QStringLiteral("SMI")},
        {QStringLiteral("SX"), QStringLiteral("SMI")},
        {QStringLiteral("J"), QStringLiteral("JON")},
        // The active flag is not what is shown, so it chooses nothing.
        {QStringLiteral("Y"), QString()},
    };
    for (const auto &c : cases) {
        Combo combo;
        MakeJudgeCombo(combo);
        ASSERT_TRUE(combo.LoadFromFile(m_judges));
        combo.InsertRow(QStringLiteral("Y\t*ALL"), 1);
        QSignalSpy changes(&combo, &Combo::Change);
        QTest::keyClicks(&combo, c.typed);
        EXPECT_EQ(combo.Value(), c.value) << c.typed.toStdString();
        EXPECT_EQ(changes.count(), c.value.isEmpty() ? 0 : 1) << c.typed.toStdString();
    }
}

} // namespace
