#pragma once

#include "numeric/RealMatrix.h"
#include "platform/MessageSink.h"

#include <cstdint>
#include <string>

/// The population of a simulation as a JSON file, {"means": [[..]], "sds": [[..]],
/// "correlations": [[..]]}, each matrix a list of rows in the orders of the custom
/// matrices editor: means and standard deviations one row per group combination and one
/// column per within combination (G x P), the correlations P x P.
struct PopulationJson {
    /// Reads the file and checks that the matrices are G x P, G x P and P x P. False after
    /// a message through messages: the file cannot be read or parsed, or a matrix is
    /// missing, ragged, not numeric or of another shape.
    bool read(const std::string& path, std::int32_t groups, std::int32_t cells,
              MessageSink& messages);
    /// Writes the three matrices, replacing the file as a save does (replaceFile); false
    /// after a message with the reason when the file cannot be written.
    bool write(const std::string& path, MessageSink& messages) const;

    RealMatrix means;
    RealMatrix sds;
    RealMatrix correlations;
};
