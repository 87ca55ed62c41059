#include "app/MainWindowLayout.h"

namespace {

/// ⌊x⌋ toward zero, as every length of the layout is cut to whole pixels where it is
/// formed (not only at the end), which is what fixes the sums below to the pixel.
int cut(double x)
{
    return static_cast<int>(x);
}

/// The distances of the layout, each cut to whole pixels at scale s.
struct Metrics {
    explicit Metrics(double s)
        : m(cut(10 * s)), r(cut(25 * s)), b(cut(65 * s)), h(cut(23 * s)), t(cut(30 * s)),
          a(cut(160 * s + t)), c(cut(a - 9 * s)), d(cut(c + 9 * s)), e(cut(d - 9 * s)),
          f(cut(e + 9 * s)), x1(cut(190 * s)), x2(cut(x1 + 100 * s)), x3(cut(x2 + 40 * s)),
          x4(cut(x3 + 40 * s)), x5(cut(x4 + 40 * s)), x6(cut(x5 + 40 * s)), x7(cut(112 * s + x6)),
          x8(cut(x7 + 40 * s))
    {
    }

    /// Margin, right margin, bottom band, button height and check-box height.
    int m, r, b, h, t;
    /// The rows of the import controls, measured up from the bottom band; they step by 9s
    /// so that labels and boxes sit on the same line whatever their rounding.
    int a, c, d, e, f;
    /// Left edges of the import controls, relative to the margin.
    int x1, x2, x3, x4, x5, x6, x7, x8;
};

void placeTables(MainWindowLayout& layout, const Metrics& k, int W, int H, double s)
{
    layout.dataTable = {k.m, k.m, cut((W - k.r - k.m) - 250 * s), cut(H - 300 * s)};
    layout.withinTable = {W - cut(225 * s) - k.r, k.m, cut(225 * s), cut(H - 300 * s)};
    layout.resultsTable = {k.m, H - k.t - cut(150 * s) - k.b, W - k.r - k.m, cut(150 * s)};
}

void placeCommandButtons(MainWindowLayout& layout, const Metrics& k, int W, int H, double s)
{
    const int top = H - k.h - k.b;
    layout.computeButton = {k.m, top, cut(105 * s), k.h};
    layout.simulationButton = {cut(120 * s) + k.m, top, cut(105 * s), k.h};
    layout.resetButton = {W - cut(130 * s), top, cut(105 * s), k.h};
}

void placeImportControls(MainWindowLayout& layout, const Metrics& k, int H, double s)
{
    const int boxWidth = cut(50 * s);
    const int rowD = H - k.d - k.t - k.b;
    const int rowF = H - k.f - k.t - k.b;
    layout.firstRowNames = {k.m, H - k.a - k.t - k.b, cut(180 * s), k.t};
    layout.verticalLabel = {k.m + k.x1, H - k.c - k.t - k.b, cut(100 * s), k.t};
    layout.carriageReturn = {k.m + k.x2, rowD, boxWidth, k.t};
    layout.lineFeed = {k.m + k.x3, rowD, boxWidth, k.t};
    layout.verticalTab = {k.m + k.x4, rowD, boxWidth, k.t};
    layout.formFeed = {k.m + k.x5, rowD, boxWidth, k.t};
    layout.horizontalLabel = {k.m + k.x6, H - k.e - k.t - k.b, cut(110 * s), k.t};
    layout.tab = {k.m + k.x7, rowF, boxWidth, k.t};
    layout.spaces = {k.m + k.x8, rowF, boxWidth, k.t};
}

void placeRowButtons(MainWindowLayout& layout, const Metrics& k, int W, int H, double s)
{
    const int g = H - cut(3 * s + k.f);
    const int top = g - k.h - k.b;
    layout.importDone = {k.m + cut(70 * s + k.x8), top, cut(100 * s), k.h};
    layout.insertRowButton = {cut(W - 315 * s), top, k.h, k.h};
    layout.deleteRowButton = {cut(layout.insertRowButton.left - 25 * s), top, k.h, k.h};
    layout.insertVariableButton = {cut(W - 47 * s), top, k.h, k.h};
    layout.deleteVariableButton = {cut(layout.insertVariableButton.left - 25 * s), top, k.h, k.h};
    layout.defineWithinLabel = {cut(layout.deleteVariableButton.left - 178 * s),
                                H - cut(188 * s) - k.h - k.b, cut(120 * s), k.h};
}

} // namespace

MainWindowLayout MainWindowLayout::compute(int W, int H, double s)
{
    const Metrics k(s);
    MainWindowLayout layout;
    placeTables(layout, k, W, H, s);
    placeCommandButtons(layout, k, W, H, s);
    placeImportControls(layout, k, H, s);
    placeRowButtons(layout, k, W, H, s);
    return layout;
}

int MainWindowLayout::minimumWidth(double s)
{
    return cut(1150 * s);
}

int MainWindowLayout::minimumHeight(double s)
{
    return cut(820 * s);
}
