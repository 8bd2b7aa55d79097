// fxtchart's page: a template drawn as one self-contained HTML page, its
// DMX footprint and its parameters' stops as pictures, each beside a text
// table of the same values, with fxtlint's diagnostics linked to the places
// they concern. No script, no file or address outside the page.
#pragma once

#include <string>

#include "chart/chart_source.h"

namespace fxt::chart {

std::string ChartPage(const ChartSource& source);

}  // namespace fxt::chart
