#pragma once

#include "numeric/GeneralMatrix.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class BinaryReader;
class BinaryWriter;

/// Everything a project file holds, read and checked whole before anything in the tables
/// changes. The file is the data section followed by the within section, nothing between
/// or after them:
///
/// | # | record      | content                                                          |
/// |---|-------------|------------------------------------------------------------------|
/// | 1 | int32 R     | participant rows, at least 1                                     |
/// | 2 | int32 C     | data columns, at least 1                                         |
/// | 3 | R·C float64 | the participant values column by column (RealMatrix storage); an |
/// |   |             | empty cell is a quiet NaN (files of earlier versions hold 0.0)    |
/// | 4 | string list | the drop-down list of the combination cells                      |
/// | 5 | string list | the column names, C entries                                      |
/// | 6 | string list | the combination texts, C entries                                 |
/// | 7 | string list | the names of the within variables                                |
/// | 8 | integer list| their numbers of levels, as many as record 7                     |
struct ProjectContent {
    /// Records 1 to 6, written by the data table.
    struct DataSection {
        GeneralMatrix<double> values;
        std::vector<std::string> comboOptions;
        std::vector<std::string> names;
        std::vector<std::string> combinations;
    };
    /// Records 7 and 8, written by the within-variables table.
    struct WithinSection {
        std::vector<std::string> names;
        std::vector<std::int32_t> levels;
    };

    DataSection data;
    WithinSection within;
};

enum class ProjectReadStatus {
    Ok,
    /// A record is incomplete or malformed, the data table has no participant cell, a
    /// list has the wrong length, or bytes follow the last record: not a project file, or
    /// a damaged one.
    Damaged,
    /// Well formed, but the tables would exceed FileLimits::MAX_TABLE_CELLS.
    TooLarge,
};

/// Records 1 to 3 for any matrix: its rows, its columns, then its doubles in storage order.
void serializeMatrix(const GeneralMatrix<double>& matrix, BinaryWriter& out);

/// The counterpart of serializeMatrix: matrix becomes rows x columns with the doubles that
/// follow. A negative extent, or fewer doubles left than rows x columns, fails the reader
/// and leaves matrix as it was.
void readMatrix(BinaryReader& in, GeneralMatrix<double>& matrix);

/// Parses bytes as a whole project file. Only on Ok does content receive what was read.
ProjectReadStatus readProjectContent(std::span<const std::uint8_t> bytes, ProjectContent& content);
