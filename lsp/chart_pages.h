// The pages that the server writes for a browser to open (the command
// fxt.showChart): in a folder of its own, which no one else may enter, one
// file per document, written anew on each request. The pages and their
// folder go when the server ends, so that none accumulate however long it
// runs and however often it is started.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace fxt::lsp {

struct WrittenPage {
  std::string path;     // absolute; "" when the page could not be written
  std::string uri;      // its file: address
  std::string problem;  // why it could not be written, or ""
};

class ChartPages {
 public:
  ChartPages() = default;
  ChartPages(const ChartPages&) = delete;
  ChartPages& operator=(const ChartPages&) = delete;
  ~ChartPages() { RemoveAll(); }

  // Gives the document's page the bytes, in place of those it held.
  WrittenPage Write(std::string_view uri, std::string_view page);
  // Removes every page written, and the folder.
  void RemoveAll();

 private:
  std::string folder_;           // "" until the first page
  std::set<std::string> names_;  // of the pages in it

  // The reason when there is no folder to write in, or "".
  std::string MakeFolder();
};

}  // namespace fxt::lsp
