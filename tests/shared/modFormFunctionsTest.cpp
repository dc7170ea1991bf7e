#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "records/DataObject.h"
#include "shared/modFormFunctions.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using namespace modFormFunctions;

// A small real window: a text box and the button whose enabled state means "unsaved input".
struct Window
{
    Window()
    {
        auto *layout = new QVBoxLayout(&widget);
        other = new QLineEdit(&widget);
        field = new QLineEdit(&widget);
        field->setObjectName("txtFILOTO");
        indicator = new QPushButton("&Save", &widget);
        layout->addWidget(other);
        layout->addWidget(field);
        layout->addWidget(indicator);
        widget.show();
        widget.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
        other->setFocus();
    }
    QWidget widget;
    QLineEdit *other;
    QLineEdit *field;
    QPushButton *indicator;
};

TEST(CloseGuard, AsksOnlyWhileTheIndicatorIsEnabled)
{
    const struct
    {
        bool enabled;
        const char *answer;
        bool cancelled;
        int asked;
    } cases[] = {
        {false, "", false, 0},
        {true, "Yes", false, 1},
        {true, "No", true, 1},
    };
    for (const auto &c : cases) {
        Window w;
        w.indicator->setEnabled(c.enabled);
        ModalAnswerer answerer({QString::fromLatin1(c.answer)});
        bool cancel = false;
        EXPECT_EQ(ConfirmDiscardChanges(w.indicator, cancel), c.cancelled);
        EXPECT_EQ(cancel, c.cancelled);
        ASSERT_EQ(answerer.Seen().size(), c.asked);
        if (c.asked) {
            EXPECT_EQ(answerer.Seen()[0].text, "Discard changes?");
            EXPECT_EQ(answerer.Seen()[0].title, "Exit");
            EXPECT_EQ(answerer.Seen()[0].buttons, QStringList({"Yes", "No"}));
        }
    }
}

TEST(CloseGuard, LeavesAnEarlierCancelAlone)
{
    Window w;
    w.indicator->setEnabled(false);
    bool cancel = true;
    EXPECT_FALSE(ConfirmDiscardChanges(w.indicator, cancel));
    EXPECT_TRUE(cancel);
}

TEST(RequiredField, BlankMeansSpacesOnly)
{
    const struct
    {
        const char *text;
        bool missing;
    } cases[] = {
        {"", true}, {"   ", true}, {"\t", false}, {" \t ", false}, {"  SMI  ", false}, {"X", false},
    };
    for (const auto &c : cases) {
        Window w;
        w.field->setText(QString::fromLatin1(c.text));
        ModalAnswerer answerer;
        EXPECT_EQ(RequiredFieldMissing(w.field), c.missing) << '"' << c.text << '"';
        EXPECT_EQ(w.field->text(), QString::fromLatin1(c.text)); // the check changes nothing
        ASSERT_EQ(answerer.Seen().size(), c.missing ? 1 : 0);
        if (c.missing) {
            EXPECT_EQ(answerer.Seen()[0].text, "A required field is missing.");
            EXPECT_EQ(answerer.Seen()[0].title, "Error");
            EXPECT_EQ(answerer.Seen()[0].buttons, QStringList({"OK"}));
            EXPECT_EQ(w.widget.focusWidget(), w.field);
        }
    }
}

TEST(FieldError, FocusOnlyWhenEnabledMessageOnlyWhenGiven)
{
    const struct
    {
        bool enabled;
        const char *message;
        bool focused;
        int shown;
    } cases[] = {
        {true, "Invalid time.", true, 1},
        {false, "Invalid time.", false, 1},
        {true, "", true, 0},
        {false, "", false, 0},
    };
    for (const auto &c : cases) {
        Window w;
        w.field->setEnabled(c.enabled);
        ModalAnswerer answerer;
        ShowFieldError(w.field, QString::fromLatin1(c.message));
        EXPECT_EQ(w.widget.focusWidget() == w.field, c.focused) << c.message;
        ASSERT_EQ(answerer.Seen().size(), c.shown);
        if (c.shown) {
            EXPECT_EQ(answerer.Seen()[0].title, "Error");
        }
    }
}

TEST(FieldError, HiddenFieldStillShowsTheMessage)
{
    QLineEdit hidden;
    ModalAnswerer answerer;
    ShowFieldError(&hidden, "Invalid case number.");
    ASSERT_EQ(answerer.Seen().size(), 1);
    EXPECT_EQ(answerer.Seen()[0].text, "Invalid case number.");
}

TEST(DataErrors, HandleErrorShowsADataErrorBox)
{
    TestWorld world;
    InstallDataErrorPresenter();
    DataObject data;
    data.Execute("Select * From MRLCRT.NOSUCH");
    ModalAnswerer answerer;
    QWidget window;
    data.HandleError(&window);
    DataObject::SetErrorPresenter({});
    ASSERT_EQ(answerer.Seen().size(), 1);
    EXPECT_EQ(answerer.Seen()[0].title, "Data Error");
    EXPECT_TRUE(answerer.Seen()[0].text.contains("NOSUCH"));
}

} // namespace
