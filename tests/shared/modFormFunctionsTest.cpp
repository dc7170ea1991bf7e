#include "ModalAnswerer.h"
#include "shared/modFormFunctions.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace modFormFunctions;

// A small real window: another box, which has the focus, and the field.
struct Window
{
    QWidget widget;
    QLineEdit *other = new QLineEdit(&widget);
    QLineEdit *field = new QLineEdit(&widget);
    Window()
    {
        widget.show();
        widget.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
        other->setFocus();
    }
};

// clang-format off
TEST(FormGuards, RequiredFieldAndFieldError)
{
    // required: RequiredFieldMissing on a field holding the text; otherwise ShowFieldError with it
    // as the message. Then: whether the field has the focus, and the box shown.
    const struct { bool required, enabled; const char *text; bool focused; const char *shown; } cases[] = {
        {true, true, "", true, "Error: A required field is missing. [OK]"},
        {true, true, "   ", true, "Error: A required field is missing. [OK]"},
        {true, true, "\t", false, ""},
        {true, true, "  SMI  ", false, ""},
        {false, true, "Invalid time.", true, "Error: Invalid time. [OK]"},
        {false, false, "Invalid time.", false, "Error: Invalid time. [OK]"},
        {false, true, "", true, ""},
        {false, false, "", false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        Window w;
        w.field->setEnabled(c.enabled);
        ModalAnswerer answerer;
        if (c.required) {
            w.field->setText(c.text);
            EXPECT_EQ(RequiredFieldMissing(w.field), *c.shown != 0);
        } else {
            ShowFieldError(w.field, c.text);
        }
        EXPECT_EQ(w.widget.focusWidget() == w.field, c.focused);
        EXPECT_EQ(answerer.Lines().join(" + "), c.shown);
    }
}
// clang-format on

} // namespace
