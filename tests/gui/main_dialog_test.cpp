#include <QtTest>

class Placeholder : public QObject {
  Q_OBJECT
};

QTEST_MAIN(Placeholder)
#include "main_dialog_test.moc"
