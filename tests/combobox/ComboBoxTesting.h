// What the combo box tests share: one toolkit application on the private X
// server that tests/with-x starts, captured toolkit warnings, real pointer
// and key events through XTest, and small compound-string helpers.
#ifndef COMBOBOX_TESTING_H
#define COMBOBOX_TESTING_H

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <Xm/Xm.h>

#include "ComboBoxP.h"

namespace testing_support {

// The application, its top-level shell and the warnings seen so far.
XtAppContext App();
Display *TheDisplay();
std::vector<std::string> &Warnings();

// A bulletin board inside a fresh top-level shell at (x, y).
Widget NewWindow(int x = 10, int y = 10);
// Maps the window and waits until it is shown.
void ShowWindow(Widget window);
// Destroys the window made by NewWindow and forgets the warnings.
void CloseWindow(Widget window);

// Dispatches events until the application has been idle for a moment.
void Settle();
// Dispatches events, timers included, until done() holds or a generous
// while has passed.
void WaitUntil(const std::function<bool()> &done);

// Real input through XTest.
void MovePointerTo(int rootX, int rootY);
void ClickAt(int rootX, int rootY, unsigned button = 1);
void ClickWidget(Widget w, unsigned button = 1);
void PressKey(const char *keysymName, bool shift = false);
void PressKeyWithAlt(const char *keysymName);
void TypeText(const char *text);

// Root position of a widget's top-left corner.
void RootPosition(Widget w, int *x, int *y);

// Compound strings made and read the way programs do.
XmString Xms(const char *text);
std::string Text(XmString s);
std::string TextFieldValue(Widget textField);
std::string LabelText(Widget label);
// What the combo box shows: its text field's value or its label's text.
std::string ShownText(Widget combo);

// A combo box made with the given arguments, managed inside parent.
Widget NewComboBox(Widget parent, const char *name, ArgList args, Cardinal count);
// Adds each text at the end, unique.
void AddItems(Widget combo, std::initializer_list<const char *> texts);

inline DtComboBoxPart &Part(Widget w) { return ((DtComboBoxWidget)w)->combo_box; }

// A fresh window for each test, closed after it, and combo boxes made in it.
class ComboBoxFixture : public ::testing::Test {
protected:
    void SetUp() override { window = NewWindow(windowX, windowY); }
    void TearDown() override { CloseWindow(window); }

    // A managed combo box made in the window with the given arguments.
    Widget Make(std::initializer_list<Arg> args, const char *name = "combo")
    {
        std::vector<Arg> list(args);
        return NewComboBox(window, name, list.data(), list.size());
    }
    static Arg A(const char *name, XtArgVal value) { return Arg{const_cast<char *>(name), value}; }

    int windowX = 10, windowY = 10;
    Widget window = nullptr;
};

}  // namespace testing_support

#endif
