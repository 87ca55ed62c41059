#pragma once

#include "grid/GridModel.h"

#include <string>
#include <vector>

/// A grid model that records the edit hooks the view calls, in order.
class RecordingGrid : public GridModel {
public:
    struct Call {
        int row;
        int column;
        std::string text;

        friend bool operator==(const Call&, const Call&) = default;
    };

    bool beginEdit(int row, int column) override
    {
        beginEditCalls.push_back({row, column, getCellText(row, column)});
        return GridModel::beginEdit(row, column);
    }

    bool endEdit(int row, int column, const std::string& text) override
    {
        endEditCalls.push_back({row, column, text});
        return GridModel::endEdit(row, column, text);
    }

    std::vector<Call> beginEditCalls;
    std::vector<Call> endEditCalls;
};
