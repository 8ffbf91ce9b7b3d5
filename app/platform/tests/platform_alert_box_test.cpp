// The alert box as the user and assistive technology meet it: plain words, the message in bold,
// the buttons in order with the first as default.
#include "app/platform/qt_dialogs.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace kavrino {
namespace {

TEST(AlertBox, AssistiveTechnologyReadsPlainTextWithoutMarkup) {
    Alert alert;
    alert.style = Alert::Style::warning;
    alert.messageText = "Updates are not set up";
    alert.informativeText = "No update feed <none> is configured & nothing was checked.";
    alert.buttons = {"Move to Applications", "Quit"};
    QMessageBox box;
    const QList<QPushButton*> buttons = prepareAlertBox(box, alert);
    box.show();

    auto* message = box.findChild<QLabel*>("qt_msgbox_label");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->textFormat(), Qt::PlainText);
    EXPECT_TRUE(message->font().bold());
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(message);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->text(QAccessible::Name), "Updates are not set up");
    auto* informative = box.findChild<QLabel*>("qt_msgbox_informativelabel");
    ASSERT_NE(informative, nullptr);
    EXPECT_EQ(informative->textFormat(), Qt::PlainText);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(informative)->text(QAccessible::Name),
              alert.informativeText);  // shown as typed: "<none>" and "&" are words, not markup
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&box)->text(QAccessible::Name), alert.messageText);

    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->text(), "Move to Applications");
    EXPECT_EQ(buttons[1]->text(), "Quit");
    EXPECT_EQ(box.defaultButton(), buttons[0]);
}

TEST(AlertBox, WithoutButtonsItOffersOneOk) {
    Alert alert;
    alert.messageText = "Couldn't move automatically";
    QMessageBox box;
    const QList<QPushButton*> buttons = prepareAlertBox(box, alert);
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(box.defaultButton(), buttons[0]);
    EXPECT_EQ(box.icon(), QMessageBox::Information);
}

}  // namespace
}  // namespace kavrino
