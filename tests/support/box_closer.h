#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QTimer>

namespace tervalin::test {

// Watches for the program's message boxes while a test runs, notes each one
// and closes it with Return, as a user at the keyboard would.
class BoxCloser {
public:
    QStringList texts; // of every box, in order
    // The last box's.
    QString title;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QList<QAbstractButton*>::size_type buttons = 0;
    bool okIsTheButton = false;

    BoxCloser() {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this] { closeIfOpen(); });
        poll_.start();
    }

    qsizetype shown() const { return texts.size(); }

private:
    void closeIfOpen() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (box->property("noted").toBool())
            return; // Return already sent; the box is on its way out
        box->setProperty("noted", true);
        texts << box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->buttons().size();
        okIsTheButton = box->standardButtons() == QMessageBox::Ok;
        QTest::keyClick(box, Qt::Key_Return);
    }

    QTimer poll_;
};

} // namespace tervalin::test
