#include "shared/controls/Combo.h"

#include "QtPrinters.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The docket window's judge list: active flag and code, the code being both value and display.
struct JudgeCombo
{
    QTemporaryDir dir;
    Combo combo;
    JudgeCombo()
    {
        QFile file(dir.filePath("ARYJDG.XML"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' xmlns:rs='urn:schemas-microsoft-com:rowset'"
                   " xmlns:z='#RowsetSchema'><s:Schema><s:ElementType name='row'><s:AttributeType name='JDGACT'/>"
                   "<s:AttributeType name='JDGCOD'/></s:ElementType></s:Schema><rs:data><z:row JDGACT='Y' JDGCOD='ALV'/>"
                   "<z:row JDGACT='Y' JDGCOD='SMI'/><z:row JDGACT='N' JDGCOD='BRK'/></rs:data></xml>");
        combo.SetCols(2);
        combo.SetDataField("1");
        combo.SetDataFieldToDisplay("1");
        file.close();
        EXPECT_TRUE(combo.LoadFromFile(file.fileName()));
    }
    QString Codes() const
    {
        QString codes;
        for (int row = 0; row < combo.Rows(); ++row)
            codes += combo.Cell(row, 1) + ' ';
        return codes.trimmed();
    }
};

// Positions count from 1; out of range, a row goes to the nearer end.
TEST(Combo, InsertedRowLandsAtItsListPosition)
{
    const struct { int position; const char *codes; } cases[] = {{0, "*ALL ALV SMI BRK"}, {2, "ALV *ALL SMI BRK"}, {99, "ALV SMI BRK *ALL"}};
    for (const auto &c : cases) {
        JudgeCombo judges;
        judges.combo.InsertRow("Y\t*ALL", c.position);
        EXPECT_EQ(judges.Codes(), c.codes) << c.position;
    }
}

// One combo, the values set one after another: only a value on the list is a valid selection.
TEST(Combo, ValidOnlyForValuesOnTheList)
{
    const struct { QString set; bool valid; QString value; int changes; } cases[] = {{"*ALL", true, "*ALL", 1}, {"*ALL", true, "*ALL", 0}, {"SMI", true, "SMI", 1}, {"XYZ", false, "", 1},
                 {"smi", false, "", 0},     {"BRK", true, "BRK", 1},  {"Y", false, "", 1}};
    JudgeCombo judges;
    judges.combo.InsertRow("Y\t*ALL", 1);
    for (const auto &c : cases) {
        QSignalSpy changes(&judges.combo, &Combo::Change);
        judges.combo.SetValue(c.set);
        EXPECT_EQ(judges.combo.IsValid(), c.valid) << c.set.toStdString();
        EXPECT_EQ(judges.combo.Value(), c.value) << c.set.toStdString();
        EXPECT_EQ(changes.count(), c.changes) << c.set.toStdString();
    }
    // A file that cannot be read empties the list.
    EXPECT_FALSE(judges.combo.LoadFromFile(judges.dir.filePath("MISSING.XML")));
    EXPECT_EQ(judges.Codes(), "");
    EXPECT_FALSE(judges.combo.IsValid());
}

} // namespace
