#include "tests/support/UserSession.h"

#include "app/ResultsTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

UserSession::UserSession(char decimalSeparator, int threadCount)
    : separator(decimalSeparator), commands(sink, DecimalSeparator(decimalSeparator), threadCount)
{
}

void UserSession::type(GridModel& table, int row, int column, const std::string& text)
{
    table.beginEdit(row, column);
    table.endEdit(row, column, text);
}

void UserSession::typeWithinVariable(int r, const std::string& name, const std::string& levels)
{
    WithinGridCtrl& within = commands.getWithinTable();
    type(within, within.toGridRow(r), within.toGridColumn(0), name);
    type(within, within.toGridRow(r), within.toGridColumn(1), levels);
}

void UserSession::typeColumn(int c, const std::string& role, const std::string& name,
                             const Texts& values)
{
    UserGridCtrl& data = commands.getDataTable();
    const int column = data.toGridColumn(c);
    type(data, data.toGridRow(-2), column, role);
    type(data, data.toGridRow(-1), column, name);
    for (std::size_t r = 0; r < values.size(); ++r) {
        std::string typed = values[r];
        if (separator == ',')
            std::replace(typed.begin(), typed.end(), '.', ',');
        type(data, data.toGridRow(static_cast<int>(r)), column, typed);
    }
}

Texts UserSession::takeErrors()
{
    for (const RecordingMessageSink::Message& message : sink.messages)
        EXPECT_TRUE(message.title == "Error" && message.icon == MessageIcon::Error) << message.text;
    return takeMessages();
}

Texts UserSession::resultsRow(int r)
{
    Texts texts;
    for (int c = 0; c < RESULTS_COLUMN_COUNT; ++c)
        texts.push_back(commands.getResultsTable().getText(r, c));
    return texts;
}

void typeMixedDesign(UserSession& session)
{
    session.typeWithinVariable(0, "B", "2");
    session.typeWithinVariable(1, "C", "2");
    session.typeColumn(0, "1, 1", "b1c1", {"5.1", "4.8", "6.2", "5.5", "7.0", "6.1", "7.7", "6.6"});
    session.typeColumn(1, "between", "A", {"1", "1", "1", "1", "2", "2", "2", "2"});
    session.typeColumn(2, "2, 2", "b2c2",
                       {"9.0", "8.4", "9.9", "8.1", "12.1", "10.5", "11.7", "11.0"});
    session.typeColumn(3, "1, 2", "b1c2", {"6.3", "6.9", "7.1", "5.8", "7.4", "8.2", "7.9", "8.8"});
    session.typeColumn(4, "2, 1", "b2c1",
                       {"7.2", "6.1", "7.9", "6.6", "9.3", "8.8", "10.2", "9.1"});
}
