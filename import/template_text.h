// A planned template as text, in the layout fxtfmt gives every template:
// block keywords at the start of the line, body lines indented by two
// blanks, one blank around '=', stop lines with ", " between their parts.
#pragma once

#include <string>

#include "import/template_plan.h"

namespace fxt {

std::string TemplateText(const TemplatePlan& plan);

// A remark as lines of at most 99 characters, each ending in a line end: the
// desk reads what goes beyond as a line of its own.
std::string RemarkLines(const std::string& text);

}  // namespace fxt
