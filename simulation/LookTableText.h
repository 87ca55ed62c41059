#pragma once

#include "numeric/DecimalSeparator.h"
#include "simulation/AlphaCalibration.h"
#include "simulation/LookTable.h"

#include <string>
#include <vector>

// The look table and what it finds, in words for the desktop's look-by-look view: numbers
// with the user's decimal separator, shares with four decimals, their 95 % intervals as
// "low to high", the group sizes of a look as "4 / 4".

/// The look, its participants (all groups, then per group), and each share followed by
/// its interval.
std::vector<std::string> lookTableHeadings();
/// The cells of one look under lookTableHeadings.
std::vector<std::string> lookRowCells(const LookRow& row, DecimalSeparator separator);
/// The headings and then every look, the cells separated by tabs and every line ended by
/// "\n", as spreadsheets paste a table.
std::string lookTableTsv(const LookTable& table, DecimalSeparator separator);
/// The expected participants of a study that stops at its first significant look, with
/// their standard error.
std::string expectedParticipantsText(const LookTable& table, DecimalSeparator separator);
/// The first look whose power reaches targetPower, the sample size a study needs; when no
/// look does, how far the last one got.
std::string requiredSampleText(const LookTable& table, double targetPower,
                               DecimalSeparator separator);
/// The calibrated critical alpha of every look with its interval, the overall alpha it
/// holds and the null passes it comes from.
std::string calibratedAlphaText(const CalibratedAlpha& calibration, double targetAlpha,
                                DecimalSeparator separator);
