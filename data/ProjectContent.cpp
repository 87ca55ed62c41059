#include "data/ProjectContent.h"

#include "data/BinaryReader.h"
#include "data/BinaryWriter.h"
#include "data/FileLimits.h"

#include <cstddef>
#include <limits>
#include <utility>

namespace {

constexpr std::size_t DOUBLE_BYTES = 8;

/// Whether the well-formed content fits into the tables: the data table has three header
/// rows and one header column, and every combination cell holds the drop-down list; the
/// within-variables table has one header row and one header column beside its two columns.
bool fitsTables(const ProjectContent& content)
{
    const std::int64_t rows = content.data.values.getRows();
    const std::int64_t columns = content.data.values.getCols();
    const auto options = static_cast<std::int64_t>(content.data.comboOptions.size());
    const std::int64_t dataCells = (rows + 3) * (columns + 1) + options * columns;
    const auto withinRows = static_cast<std::int64_t>(content.within.names.size());
    const std::int64_t withinCells = (withinRows + 1) * 3;
    return dataCells <= FileLimits::MAX_TABLE_CELLS && withinCells <= FileLimits::MAX_TABLE_CELLS;
}

/// The writer refuses a table without participant values, so a project has at least one
/// participant row and one data column. Refusing the other extents also keeps a file from
/// asking for a million rows of no columns, which no bytes would have to back.
bool hasParticipantCells(const ProjectContent::DataSection& data)
{
    return data.values.getRows() > 0 && data.values.getCols() > 0;
}

bool hasOneEntryPerColumn(const ProjectContent::DataSection& data)
{
    const auto columns = static_cast<std::size_t>(data.values.getCols());
    return data.names.size() == columns && data.combinations.size() == columns;
}

} // namespace

void serializeMatrix(const GeneralMatrix<double>& matrix, BinaryWriter& out)
{
    out.writeInt32(matrix.getRows());
    out.writeInt32(matrix.getCols());
    const double* values = matrix.dataPointer();
    for (std::int32_t i = 0; i < matrix.getSize(); ++i)
        out.writeFloat64(values[i]);
}

void readMatrix(BinaryReader& in, GeneralMatrix<double>& matrix)
{
    const std::int32_t rows = in.readInt32();
    const std::int32_t columns = in.readInt32();
    if (in.hasFailed())
        return;
    if (rows < 0 || columns < 0) {
        in.fail();
        return;
    }
    // Both factors are below 2^31, so the product fits; the bytes decide before the
    // matrix is allocated.
    const auto size = static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(columns);
    if (size > in.remaining() / DOUBLE_BYTES) {
        in.fail();
        return;
    }
    if (size > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        in.fail();
        return;
    }
    GeneralMatrix<double> read(rows, columns);
    double* values = read.dataPointer();
    for (std::uint64_t i = 0; i < size; ++i)
        values[i] = in.readFloat64();
    matrix = std::move(read);
}

ProjectReadStatus readProjectContent(std::span<const std::uint8_t> bytes, ProjectContent& content)
{
    BinaryReader in(bytes);
    ProjectContent read;
    readMatrix(in, read.data.values);
    read.data.comboOptions = in.readStringList();
    read.data.names = in.readStringList();
    read.data.combinations = in.readStringList();
    read.within.names = in.readStringList();
    read.within.levels = in.readIntegerList();
    if (in.hasFailed() || in.remaining() != 0)
        return ProjectReadStatus::Damaged;
    if (!hasParticipantCells(read.data))
        return ProjectReadStatus::Damaged;
    if (!hasOneEntryPerColumn(read.data))
        return ProjectReadStatus::Damaged;
    if (read.within.names.size() != read.within.levels.size())
        return ProjectReadStatus::Damaged;
    if (!fitsTables(read))
        return ProjectReadStatus::TooLarge;
    content = std::move(read);
    return ProjectReadStatus::Ok;
}
