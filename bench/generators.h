// Template inputs for the benchmark and for size tests: a realistic template
// repeated, and inputs built to make the tester's loops as long as they get.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fxt::bench {

struct Generator {
  const char* name;
  std::string (*make)(size_t bytes);  // about `bytes` long, or fixed
};

// The spot example repeated whole, each copy beginning with its fixture
// line; one end line closes the input.
std::string RealisticTemplates(size_t bytes);
// Small templates one after another: the load's attribute and parameter
// counters keep growing while every template's lists start empty.
std::string ManyFixtures(size_t bytes);
// One template with 255 attributes and 255 parameters of 255 stops each.
std::string FullLists(size_t bytes);
// Lines of 99 characters: long lists, long stop lines, long names.
std::string LongLines(size_t bytes);
// A full template whose channels belong to its last attributes: stop
// lines, attribute lists and displayer numbers that reach the far end of
// the lists.
std::string FarEndOfFullLists(size_t bytes);
// A template of 254 parameters followed by parameter lines without a
// displayer number: each drops the one before it and takes its place.
std::string ReplacedParameters(size_t bytes);
// Attribute lists of empty numbers and displayer numbers that every earlier
// parameter carries: the lines that report the most per byte.
std::string RepeatedReports(size_t bytes);

const std::vector<Generator>& AdversarialGenerators();

}  // namespace fxt::bench
