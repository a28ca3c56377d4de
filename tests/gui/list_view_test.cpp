#include <QtTest>

class Placeholder : public QObject {
  Q_OBJECT
};

QTEST_MAIN(Placeholder)
#include "list_view_test.moc"
