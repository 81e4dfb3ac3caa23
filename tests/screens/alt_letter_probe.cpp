// Asks the save question in a real message box, as the program does, and prints the
// index of the answer; alt_letter_x11_test.sh answers it with a person's keys.
#include "screens/kit/Asker.h"
#include "screens/kit/Mnemonics.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    application.installEventFilter(new kv::DialogMnemonics(&application));
    kv::Question q;
    q.id = QStringLiteral("saveQuestion");
    q.title = QStringLiteral("Квилмар 2019");
    q.text = QStringLiteral("Вы хотите сохранить декларацию?");
    q.answers = {QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")};
    q.escapeIndex = 2;
    kv::WidgetAsker asker;
    std::printf("%d\n", asker.ask(nullptr, q));
    return 0;
}
