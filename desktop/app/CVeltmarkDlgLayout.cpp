// The main window's placement of its controls, the font that fits them, and its keys.
#include "desktop/app/CVeltmarkDlg.h"

#include "desktop/grid/GridView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <array>

namespace {

QString textOf(const QWidget* control)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    return {};
}

void place(QWidget* widget, const ControlRect& rect)
{
    widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
}

} // namespace

void CVeltmarkDlg::readScale()
{
    const QScreen* shown = screen();
    const double dpi = shown ? shown->logicalDotsPerInchX() : 96.0;
    scale = dpi > 0 ? dpi / 96.0 : 1.0;
}

QSize CVeltmarkDlg::getWholeWindowSize() const
{
    // Before the window manager has framed the window, the frame is the window itself.
    return frameGeometry().size();
}

void CVeltmarkDlg::updateMinimumSize()
{
    const QSize frame = getWholeWindowSize() - size();
    setMinimumSize(MainWindowLayout::minimumWidth(scale) - frame.width(),
                   MainWindowLayout::minimumHeight(scale) - frame.height());
}

void CVeltmarkDlg::applyLayout()
{
    if (isMinimized() || dataView == nullptr)
        return;
    const QSize whole = getWholeWindowSize();
    const MainWindowLayout layout = MainWindowLayout::compute(whole.width(), whole.height(), scale);
    place(dataView, layout.dataTable);
    place(withinView, layout.withinTable);
    place(resultsView, layout.resultsTable);
    place(computeButton, layout.computeButton);
    place(simulationButton, layout.simulationButton);
    place(resetButton, layout.resetButton);
    place(firstRowNamesBox, layout.firstRowNames);
    place(verticalLabel, layout.verticalLabel);
    place(carriageReturnBox, layout.carriageReturn);
    place(lineFeedBox, layout.lineFeed);
    place(verticalTabBox, layout.verticalTab);
    place(formFeedBox, layout.formFeed);
    place(horizontalLabel, layout.horizontalLabel);
    place(tabBox, layout.tab);
    place(spacesBox, layout.spaces);
    place(importDoneButton, layout.importDone);
    place(insertRowButton, layout.insertRowButton);
    place(deleteRowButton, layout.deleteRowButton);
    place(insertVariableButton, layout.insertVariableButton);
    place(deleteVariableButton, layout.deleteVariableButton);
    place(defineWithinLabel, layout.defineWithinLabel);
    // The sizes depend on the scale only, so the font is fitted again when it changes.
    if (fittedScale != scale) {
        fittedScale = scale;
        fitControlFont();
    }
    widenOptionBoxes();
}

bool CVeltmarkDlg::isOptionBox(const QWidget* control) const
{
    return control == carriageReturnBox || control == lineFeedBox || control == verticalTabBox ||
           control == formFeedBox || control == tabBox || control == spacesBox;
}

void CVeltmarkDlg::widenOptionBoxes()
{
    // A box whose text needs more than its place runs on to the right, where its row has
    // room: the next control of each row starts at least 40 pixels to the right of a box's
    // place and the boxes' texts are short.
    for (QCheckBox* box :
         {carriageReturnBox, lineFeedBox, verticalTabBox, formFeedBox, tabBox, spacesBox}) {
        const int needed = box->sizeHint().width();
        if (needed > box->width())
            box->resize(needed, box->height());
    }
}

QFont CVeltmarkDlg::getFittingControlFont() const
{
    // The controls have the fixed sizes of the layout rule, made for a compact dialog font.
    // The desktop's font may be wider; then a condensed cut of it is tried, and then
    // smaller sizes, until every text fits, so that no label is cut off.
    const std::array<QFont::Stretch, 3> stretches = {QFont::Unstretched, QFont::SemiCondensed,
                                                     QFont::Condensed};
    const QFont base = QApplication::font(this);
    QFont candidate = base;
    for (int step = 0; step <= 6; ++step) {
        for (const QFont::Stretch stretch : stretches) {
            candidate = base;
            candidate.setStretch(stretch);
            candidate.setPointSizeF(base.pointSizeF() * (1.0 - 0.05 * step));
            if (textsFit(candidate))
                return candidate;
        }
    }
    return candidate;
}

bool CVeltmarkDlg::textsFit(const QFont& font) const
{
    const QFontMetrics candidate(font);
    for (QWidget* control : getFixedTextControls()) {
        // The small option boxes stand 40 pixels apart but are 50 wide, so their boxes
        // overlap by rule; each is widened to its text instead (widenCheckBoxes).
        if (isOptionBox(control))
            continue;
        const QString text = textOf(control);
        // The control's own need in its present font, with its text measured anew.
        const int needed = control->sizeHint().width() -
                           control->fontMetrics().horizontalAdvance(text) +
                           candidate.horizontalAdvance(text);
        if (needed > control->width())
            return false;
    }
    return true;
}

std::vector<QWidget*> CVeltmarkDlg::getFixedTextControls() const
{
    return {computeButton,    simulationButton,  resetButton, firstRowNamesBox,
            verticalLabel,    carriageReturnBox, lineFeedBox, verticalTabBox,
            formFeedBox,      horizontalLabel,   tabBox,      spacesBox,
            importDoneButton, defineWithinLabel};
}

void CVeltmarkDlg::fitControlFont()
{
    const QFont font = getFittingControlFont();
    for (QWidget* control : getFixedTextControls())
        control->setFont(font);
}

void CVeltmarkDlg::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The window manager may report the frame only after the window was shown.
    updateMinimumSize();
    applyLayout();
}

void CVeltmarkDlg::screenChanged()
{
    readScale();
    updateMinimumSize();
    applyLayout();
}

void CVeltmarkDlg::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    readScale();
    updateMinimumSize();
    if (!shownBefore) {
        // A screen of other pixels per inch scales the layout anew.
        if (QWindow* handle = windowHandle())
            connect(handle, &QWindow::screenChanged, this, &CVeltmarkDlg::screenChanged);
        // The window opens at its minimum size, frame included, which is known only now.
        shownBefore = true;
        const QSize frame = getWholeWindowSize() - size();
        resize(MainWindowLayout::minimumWidth(scale) - frame.width(),
               MainWindowLayout::minimumHeight(scale) - frame.height());
    }
    applyLayout();
}

void CVeltmarkDlg::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Restored from the minimised state, the controls follow the size it had meanwhile.
    if (event->type() == QEvent::WindowStateChange)
        applyLayout();
}

bool CVeltmarkDlg::handlesOwnKeys(const QWidget* widget) const
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (qobject_cast<const GridView*>(w) != nullptr)
            return true;
    }
    return false;
}

bool CVeltmarkDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this || handlesOwnKeys(widget))
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return QMainWindow::eventFilter(watched, event);
    int translated = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        translated = Qt::Key_Down;
    else if (key->key() == Qt::Key_Tab)
        translated = Qt::Key_Right;
    if (translated == 0)
        return QMainWindow::eventFilter(watched, event);
    QKeyEvent moved(QEvent::KeyPress, translated, key->modifiers());
    QCoreApplication::sendEvent(widget, &moved);
    return true;
}
