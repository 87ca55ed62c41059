#include "cli/PopulationJson.h"

#include "data/FileAccess.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <fstream>
#include <span>
#include <system_error>

namespace {

nlohmann::json rowsOf(const RealMatrix& matrix)
{
    nlohmann::json rows = nlohmann::json::array();
    for (std::int32_t i = 0; i < matrix.getRows(); ++i) {
        nlohmann::json row = nlohmann::json::array();
        for (std::int32_t j = 0; j < matrix.getCols(); ++j)
            row.push_back(matrix.get(i, j));
        rows.push_back(row);
    }
    return rows;
}

/// The message for a matrix that is not rows x cols numbers, or empty when it is.
std::string shapeError(const nlohmann::json& value, std::int32_t rows, std::int32_t cols)
{
    const std::string wanted = std::to_string(rows) + " x " + std::to_string(cols);
    if (!value.is_array())
        return "is not a list of rows; the design needs " + wanted + ".";
    if (value.size() != static_cast<std::size_t>(rows))
        return "has " + std::to_string(value.size()) + " rows; the design needs " + wanted + ".";
    for (std::size_t i = 0; i < value.size(); ++i) {
        const nlohmann::json& row = value[i];
        if (!row.is_array() || row.size() != static_cast<std::size_t>(cols))
            return "row " + std::to_string(i + 1) + " does not have " + std::to_string(cols) +
                   " numbers; the design needs " + wanted + ".";
        for (const nlohmann::json& entry : row) {
            if (!entry.is_number())
                return "row " + std::to_string(i + 1) + " holds something other than numbers.";
        }
    }
    return {};
}

void fill(RealMatrix& matrix, const nlohmann::json& rows, std::int32_t rowCount,
          std::int32_t colCount)
{
    matrix.resize(rowCount, colCount);
    for (std::int32_t i = 0; i < rowCount; ++i) {
        for (std::int32_t j = 0; j < colCount; ++j)
            matrix.set(
                i, j, rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)].get<double>());
    }
}

} // namespace

bool PopulationJson::read(const std::string& path, std::int32_t groups, std::int32_t cells,
                          MessageSink& messages)
{
    std::ifstream in;
    if (const std::error_code error = openForReading(path, in)) {
        messages.showMessage("Error",
                             "The file " + path + " cannot be opened: " + error.message() + ".",
                             MessageIcon::Error);
        return false;
    }
    const nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        messages.showMessage("Error", "The file " + path + " is not a JSON object.",
                             MessageIcon::Error);
        return false;
    }
    struct Entry {
        const char* key;
        RealMatrix& matrix;
        std::int32_t rows;
    };
    for (const Entry& entry : {Entry{"means", means, groups}, Entry{"sds", sds, groups},
                               Entry{"correlations", correlations, cells}}) {
        if (!json.contains(entry.key)) {
            messages.showMessage("Error", "The file " + path + " has no \"" + entry.key + "\".",
                                 MessageIcon::Error);
            return false;
        }
        const std::string error = shapeError(json[entry.key], entry.rows, cells);
        if (!error.empty()) {
            messages.showMessage("Error", "In " + path + ", \"" + entry.key + "\" " + error,
                                 MessageIcon::Error);
            return false;
        }
        fill(entry.matrix, json[entry.key], entry.rows, cells);
    }
    return true;
}

bool PopulationJson::write(const std::string& path, MessageSink& messages) const
{
    nlohmann::ordered_json json;
    json["means"] = rowsOf(means);
    json["sds"] = rowsOf(sds);
    json["correlations"] = rowsOf(correlations);
    const std::string text = json.dump(2) + "\n";
    const std::error_code error = replaceFile(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (error) {
        messages.showMessage("Error",
                             "The file " + path + " cannot be written: " + error.message() + ".",
                             MessageIcon::Error);
        return false;
    }
    return true;
}
