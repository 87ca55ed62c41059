// Draws a small data table in the grid view and saves the picture, for looking at the view
// by eye: grid_screenshot OUTPUT.png. Runs under any platform, offscreen included.
#include "CountingMessageSink.h"

#include "data/UserGridCtrl.h"
#include "grid/qt/GridView.h"

#include <QApplication>
#include <QPixmap>
#include <QTest>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: grid_screenshot OUTPUT.png\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    CountingMessageSink sink;
    UserGridCtrl table(sink, DecimalSeparator(','));
    table.setupTable(6, 5);
    table.setComboOptions({"1, 1", "1, 2", "2, 1", "2, 2", "between"});
    table.setCombinationTexts({"between", "1, 1", "1, 2", "2, 1", "2, 2"});
    const char* names[] = {"group", "pre A", "pre B", "post A", "post B"};
    for (int c = 0; c < 5; ++c)
        table.setText(-1, c, names[c]);
    const char* values[6][5] = {
        {"1", "4,5", "5,1", "6,0", "6,4"}, {"1", "3,9", "4,2", "5,5", "5,0"},
        {"1", "4,1", "4,8", "6,2", "6,1"}, {"2", "4,4", "4,0", "4,6", "4,3"},
        {"2", "3,8", "4,1", "4,0", "4,5"}, {"2", "4,0", "3,7", "4,2", "4,4"}};
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 5; ++c)
            table.setText(r, c, values[r][c]);
    }
    table.setFocusCell({table.toGridRow(2), table.toGridColumn(1)});
    table.setSelectedRange(
        {table.toGridRow(2), table.toGridColumn(1), table.toGridRow(3), table.toGridColumn(2)});
    GridView view(table);
    view.resize(520, 260);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return 1;
    return view.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
