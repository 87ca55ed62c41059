#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

// The checks of option values, one per kind of value, so that every option of a kind reads
// and refuses its values alike. A refused value is wrong usage (status 2); CLI11 puts the
// option's name before the message, e.g. "--threads: 2.5 is not an integer".

/// A decimal integer from minimum to maximum as parseWholeInteger reads it, rewritten as
/// plain digits for CLI11's own conversion. Refusals: "TEXT is not an integer", "TEXT is
/// not in the range MINIMUM to MAXIMUM".
CLI::Validator integerIn(std::int64_t minimum, std::int64_t maximum);

/// A number strictly between low and high (numbers with the point), with the point: "TEXT
/// is not a number between LOW and HIGH (exclusive)".
/// CLI11 would convert the text with the C library, which reads the locale's separator: the
/// caller keeps the text and reads it with parseWholeNumber.
CLI::Validator openInterval(const std::string& low, const std::string& high);

/// One of choices, exactly: "TEXT is not one of A, B, C".
CLI::Validator oneOf(std::vector<std::string> choices);

/// Any text but the empty one, for file names: "the value is empty".
CLI::Validator notEmpty();
