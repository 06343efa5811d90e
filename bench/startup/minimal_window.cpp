// The start-up baseline: the smallest Qt Widgets program with one editable drop-down box.
#include <QApplication>
#include <QComboBox>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QComboBox box;
    box.setEditable(true);
    box.show();
    return QApplication::exec();
}
