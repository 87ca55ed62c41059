// Prints, for every effect of an example design, the hypothesis matrix C and the
// transformation matrix M that the statistics engine tests, and a few upper tails of the
// F distribution. It reads the example's JSON form (within variables, column names,
// column roles and the data rows).

#include "app/design/Combinations.h"
#include "app/design/Design.h"
#include "app/design/EffectList.h"
#include "numeric/FDistribution.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace {

struct ExampleDesign {
    RealMatrix rawData;
    std::vector<std::string> columnNames;
    std::set<int> betweenColumns;
    std::vector<std::string> withinNames;
    std::vector<int> withinLevels;
    GeneralMatrix<int> columnLevels;
};

/// False when a label does not have one level per within variable.
bool readExample(const nlohmann::json& document, LapackWorkspace& workspace, ExampleDesign& out)
{
    for (const auto& variable : document.at("within")) {
        out.withinNames.push_back(variable.at("name").get<std::string>());
        out.withinLevels.push_back(variable.at("levels").get<int>());
    }
    out.columnNames = document.at("names").get<std::vector<std::string>>();
    const auto roles = document.at("roles").get<std::vector<std::string>>();
    std::vector<std::vector<int>> labels;
    for (std::size_t k = 0; k < roles.size(); ++k) {
        if (roles[k] == "between") {
            out.betweenColumns.insert(static_cast<int>(k));
        } else {
            labels.push_back(parseCombinationLabel(roles[k]));
            if (labels.back().size() != out.withinLevels.size()) {
                return false;
            }
        }
    }
    out.columnLevels.resize(static_cast<std::int32_t>(out.withinLevels.size()),
                            static_cast<std::int32_t>(labels.size()));
    for (std::size_t c = 0; c < labels.size(); ++c) {
        for (std::size_t v = 0; v < labels[c].size(); ++v) {
            out.columnLevels.set(static_cast<std::int32_t>(v), static_cast<std::int32_t>(c), labels[c][v]);
        }
    }
    const auto& rows = document.at("data");
    out.rawData = RealMatrix(static_cast<std::int32_t>(rows.size()),
                             static_cast<std::int32_t>(roles.size()), &workspace);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t k = 0; k < roles.size(); ++k) {
            out.rawData.set(static_cast<std::int32_t>(i), static_cast<std::int32_t>(k),
                            rows[i].at(k).get<double>());
        }
    }
    return true;
}

void printMatrix(const char* title, const RealMatrix& matrix)
{
    std::printf("  %s (%d x %d)\n", title, matrix.getRows(), matrix.getCols());
    for (std::int32_t i = 0; i < matrix.getRows(); ++i) {
        std::printf("   ");
        for (std::int32_t j = 0; j < matrix.getCols(); ++j) {
            std::printf(" %8.4f", matrix.get(i, j));
        }
        std::printf("\n");
    }
}

void printEffects(const ExampleDesign& example, Design& design)
{
    std::vector<std::string> betweenNames;
    for (int column : example.betweenColumns) {
        betweenNames.push_back(example.columnNames[static_cast<std::size_t>(column)]);
    }
    const auto betweenCount = static_cast<std::int32_t>(betweenNames.size());
    const GeneralMatrix<int> effects =
        effectList(betweenCount + static_cast<std::int32_t>(example.withinNames.size()));
    for (std::int32_t e = 1; e < effects.getRows(); ++e) {
        std::vector<int> betweenFlags;
        std::vector<int> withinFlags;
        for (std::int32_t v = 0; v < effects.getCols(); ++v) {
            (v < betweenCount ? betweenFlags : withinFlags).push_back(effects.get(e, v));
        }
        design.setEffect(betweenFlags, withinFlags);
        std::printf("\nEffect %d: %s\n", e,
                    effectName(effects, e, betweenNames, example.withinNames).c_str());
        printMatrix("C", design.getC());
        printMatrix("M", design.getM());
    }
}

void printUpperTails()
{
    std::printf("\nUpper tails of the F distribution, P(F > f):\n");
    const double cases[][3] = {{1.0, 1.0, 1.0}, {4.0, 2.0, 10.0}, {2.5, 1.5, 22.75}, {30.0, 3.0, 40.0}};
    for (const auto& c : cases) {
        std::printf("  f = %-6g df1 = %-5g df2 = %-6g  %.6e\n", c[0], c[1], c[2],
                    fUpperTail(c[0], c[1], c[2]));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: tamsel-demo EXAMPLE.json\n";
        return 2;
    }
    std::ifstream file(argv[1]);
    const nlohmann::json document = nlohmann::json::parse(file, nullptr, false);
    if (document.is_discarded()) {
        std::cerr << "Error: " << argv[1] << " is not a readable example design\n";
        return 1;
    }
    LapackWorkspace workspace;
    ExampleDesign example;
    bool readable = false;
    try {
        readable = readExample(document, workspace, example);
    } catch (const nlohmann::json::exception& error) {
        std::cerr << "Error: " << argv[1] << ": " << error.what() << "\n";
        return 1;
    }
    Design design;
    if (!readable || !design.build(example.rawData, example.columnNames, example.betweenColumns,
                                   example.withinNames, example.withinLevels, example.columnLevels)) {
        std::cerr << "Error: the column roles of " << argv[1]
                  << " do not assign one column to every within combination\n";
        return 1;
    }
    std::printf("%s\n", document.value("description", "").c_str());
    std::printf("%d participants, %d group combination(s), %d within cell(s)\n",
                design.getY().getRows(), design.getX().getCols(), design.getY().getCols());
    printEffects(example, design);
    printUpperTails();
    return 0;
}
