// The yardstick for start-up: a bare Qt dialog with one Japanese label and a
// button, started and shown the plainest way. scripts/measure-startup times
// it against the program.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Bare dialog [yardstick]"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QStringLiteral("スピーカの音量を調整して下さい。")));
  auto* ok = new QPushButton(QStringLiteral("OK"));
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  layout->addWidget(ok);
  return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
