// The floor for start-up figures: a plain Qt window of the calculator's size
// and widget count (one line edit, one push button per key of the keypad and
// window, nothing else), with every Qt default left as it is. What tallix
// costs above this is ours; what this costs is the toolkit's.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace {

struct Place {
  int left, top, width, height;
};

// The calculator's keys, where its window has them.
constexpr Place kButtons[] = {
    {18, 38, 30, 30},   {50, 38, 30, 30},   {82, 38, 30, 30},   {114, 38, 30, 30},  {151, 38, 46, 30},
    {199, 38, 46, 30},  {18, 70, 30, 30},   {50, 70, 30, 30},   {82, 70, 30, 30},   {114, 70, 30, 30},
    {151, 70, 30, 30},  {183, 70, 30, 30},  {215, 70, 30, 30},  {18, 102, 30, 30},  {50, 102, 62, 30},
    {114, 102, 30, 30}, {151, 102, 62, 30}, {215, 102, 30, 30}, {18, 134, 30, 30},  {49, 134, 47, 30},
    {97, 134, 47, 30},  {151, 134, 30, 30}, {183, 134, 30, 30}, {215, 134, 30, 30}, {151, 166, 94, 38},
    {71, 176, 23, 22},  {95, 176, 23, 22},  {119, 176, 23, 22}, {18, 206, 60, 25},  {78, 206, 77, 25},
    {155, 206, 90, 25},
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.setFixedSize(262, 240);
  auto* line = new QLineEdit(QStringLiteral("0"), &window);
  line->setGeometry(18, 8, 226, 27);
  line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  int n = 0;
  for (const Place& p : kButtons) {
    auto* button = new QPushButton(QString::number(n++ % 10), &window);
    button->setGeometry(p.left, p.top, p.width, p.height);
  }
  window.show();
  return QApplication::exec();
}
