-- Neovim, with its own LSP client and the configuration shipped in
-- editors/neovim, as a user has it: it opens a template, waits for the
-- diagnostics and holds them to what fxtlint reports for the file, then
-- asks for a hover, the outline, a completion, a quick fix, the formatting, the
-- folding ranges, the semantic tokens and their delta, a definition, the
-- highlights, a rename's range, and the formatting of a range and of a
-- typed newline; the Vim syntax file highlights
-- the buffer. With FXT_NO_SERVER set, the server is not on PATH: opening a
-- template then says so once, with no error.
--   PATH=SERVER_DIR:$PATH FXT_CONFIG=editors/neovim/fxt.lua \
--   FXT_EXPECTED=fxtlint.json FXT_TEMPLATE=file.fxt \
--     nvim --headless --clean -c "luafile neovim_test.lua"
local expected_path = os.getenv("FXT_EXPECTED")
local template = os.getenv("FXT_TEMPLATE")

local function finish(problem)
  if problem then
    io.stderr:write("FAIL: " .. problem .. "\n")
    vim.cmd("cquit 1")
  end
  io.stdout:write("neovim: " .. (os.getenv("FXT_NO_SERVER") and "a missing server told plainly"
    or "highlighting, diagnostics, hover, outline, completion, formatting, folding and tokens") ..
    " as expected\n")
  vim.cmd("qall!")
end

local function check(condition, problem)
  if not condition then finish(problem) end
end

vim.cmd("luafile " .. vim.fn.fnameescape(os.getenv("FXT_CONFIG")))
vim.cmd("edit " .. vim.fn.fnameescape(template))
local buffer = vim.api.nvim_get_current_buf()
check(vim.bo[buffer].filetype == "fxt", "filetype " .. vim.bo[buffer].filetype)
check(vim.b[buffer].current_syntax == "fxt", "no syntax file loaded")
-- Line 3 is "fixture": the syntax file's keyword group.
local group = vim.fn.synIDattr(vim.fn.synID(3, 1, 1), "name")
check(group:match("^fxt"), "line 3 highlighted as '" .. group .. "'")

if os.getenv("FXT_NO_SERVER") then
  vim.wait(500)
  local messages = vim.api.nvim_exec("messages", true)
  check(vim.v.errmsg == "", "an error: " .. vim.v.errmsg)
  check(messages:find("fxt-language-server is not on PATH", 1, true) ~= nil, "messages: " .. messages)
  check(#vim.lsp.buf_get_clients(buffer) == 0, "a client attached")
  vim.cmd("edit " .. vim.fn.fnameescape(vim.fn.fnamemodify(template, ":h") .. "/strobe.fxt"))
  local again = vim.api.nvim_exec("messages", true)
  check(select(2, again:gsub("is not on PATH", "")) == 1, "told more than once: " .. again)
  finish(nil)
end
check(vim.wait(5000, function() return #vim.lsp.buf_get_clients(buffer) > 0 end, 50),
  "no language server attached")
local client = vim.lsp.buf_get_clients(buffer)[1].id
check(vim.wait(15000, function() return #vim.diagnostic.get(buffer) > 0 end, 50),
  "no diagnostics within 15 s")

-- Lines, columns and codes, in both orders alike.
local function key(line, column, code) return string.format("%05d:%05d:%s", line, column, code) end
local got, want = {}, {}
for _, diagnostic in ipairs(vim.diagnostic.get(buffer)) do
  table.insert(got, key(diagnostic.lnum + 1, diagnostic.col + 1, diagnostic.code))
end
local report = vim.fn.json_decode(table.concat(vim.fn.readfile(expected_path), "\n"))
for _, diagnostic in ipairs(report.files[1].diagnostics) do
  table.insert(want, key(diagnostic.line, diagnostic.column, diagnostic.code))
end
table.sort(got)
table.sort(want)
check(#want > 0, "fxtlint reported nothing")
check(vim.deep_equal(got, want), "diagnostics differ from fxtlint's:\n  " ..
  table.concat(got, " ") .. "\nexpected\n  " .. table.concat(want, " "))

local uri = vim.uri_from_bufnr(buffer)
local function ask(method, params)
  local answers = vim.lsp.buf_request_sync(buffer, method, params, 10000)
  check(answers ~= nil and answers[client] ~= nil, "no answer to " .. method)
  check(answers[client].err == nil, method .. " failed")
  return answers[client].result
end

-- Line 18 (0-based 17) is "  channel = 0" of the attribute named "Intensity".
local keyword = ask("textDocument/hover", { textDocument = { uri = uri }, position = { line = 17, character = 3 } })
check(keyword.contents.value:find("DMX channel, 1 to 64", 1, true), "keyword hover: " .. keyword.contents.value)
-- The version line's error came first; the fine channel after it is kept all
-- the same, as the template declares it.
local record = ask("textDocument/hover", { textDocument = { uri = uri }, position = { line = 11, character = 13 } })
check(record.contents.value:find("**PAN**, attribute 1", 1, true) and
  record.contents.value:find("DMX channel 1, fine channel 2", 1, true), "attribute hover: " .. record.contents.value)

local outline = ask("textDocument/documentSymbol", { textDocument = { uri = uri } })
local names = {}
for _, symbol in ipairs(outline[1].children) do table.insert(names, symbol.name) end
check(vim.tbl_contains(names, "PAN  ch 1/2") and vim.tbl_contains(names, "GOBO  ch 65"),
  "outline: " .. table.concat(names, ", "))

-- At the start of "  name = ..." in the attribute block of PAN.
local items = ask("textDocument/completion", { textDocument = { uri = uri }, position = { line = 9, character = 0 } })
local labels = {}
for _, item in ipairs(items) do table.insert(labels, item.label) end
check(vim.tbl_contains(labels, "finechan") and not vim.tbl_contains(labels, "attriblist"),
  "completion: " .. table.concat(labels, " "))

-- The quick fix of line 17 (0-based 16), '  name = "Intensity"': Neovim
-- applies its edit to the buffer.
local actions = ask("textDocument/codeAction", {
  textDocument = { uri = uri },
  range = { start = { line = 16, character = 0 }, ["end"] = { line = 16, character = 0 } },
  context = { diagnostics = vim.lsp.diagnostic.get_line_diagnostics(buffer, 16), only = { "quickfix" } },
})
local preferred
for _, action in ipairs(actions) do
  if action.isPreferred then preferred = action end
end
check(preferred ~= nil, "no preferred quick fix on line 17")
vim.lsp.util.apply_workspace_edit(preferred.edit, "utf-16")
check(vim.api.nvim_buf_get_lines(buffer, 16, 17, false)[1] == '  name = "INTENSITY"',
  "quick fix of line 17: " .. vim.api.nvim_buf_get_lines(buffer, 16, 17, false)[1])

-- The formatting that the buffer gets: "  channel = 0" stays as it is, and
-- the version line lies before the attribute blocks.
local edits = ask("textDocument/formatting", { textDocument = { uri = uri }, options = { tabSize = 2, insertSpaces = true } })
vim.lsp.util.apply_text_edits(edits, buffer, "utf-16")
check(vim.api.nvim_buf_get_lines(buffer, 17, 18, false)[1] == "  channel = 0", "formatted line 18")

local folds = ask("textDocument/foldingRange", { textDocument = { uri = uri } })
check(#folds >= 10, "folding ranges: " .. #folds)

-- The legend the server announced decodes the tokens: line 10 (0-based 9)
-- is '  name = "PAN"', a keyword and a name the tables hold.
local legend = vim.lsp.get_client_by_id(client).server_capabilities.semanticTokensProvider.legend
local data = ask("textDocument/semanticTokens/full", { textDocument = { uri = uri } }).data
local line, types = 0, {}
for i = 1, #data, 5 do
  line = line + data[i]
  if line == 9 then table.insert(types, legend.tokenTypes[data[i + 3] + 1]) end
end
check(table.concat(types, " ") == "keyword enumMember", "tokens of line 10: " .. table.concat(types, " "))

-- Nothing changed since: the tokens' delta holds no edit.
local full = ask("textDocument/semanticTokens/full", { textDocument = { uri = uri } })
local delta = ask("textDocument/semanticTokens/full/delta",
  { textDocument = { uri = uri }, previousResultId = full.resultId })
check(delta.edits ~= nil and #delta.edits == 0, "tokens' delta of an unchanged buffer")

-- Line 33 (0-based 32) is "  attriblist = 1,3": its 1 leads to PAN's block
-- (lines 9 to 12), and PAN's channel (line 11) is named there.
local target = ask("textDocument/definition", { textDocument = { uri = uri }, position = { line = 32, character = 15 } })
local location = target[1] or target
check(location.range.start.line >= 8 and location.range.start.line <= 11,
  "definition at line " .. location.range.start.line)
local marks = ask("textDocument/documentHighlight", { textDocument = { uri = uri }, position = { line = 10, character = 12 } })
local marked = {}
for _, mark in ipairs(marks) do marked[mark.range.start.line] = true end
check(marked[10] and marked[32], "highlights of PAN's channel: " .. vim.inspect(marks))
local renamed = ask("textDocument/prepareRename", { textDocument = { uri = uri }, position = { line = 10, character = 12 } })
check(renamed ~= nil, "prepareRename on PAN's channel")

-- The buffer is laid out already: a range and a typed newline change nothing.
local ranged = ask("textDocument/rangeFormatting", { textDocument = { uri = uri },
  range = { start = { line = 8, character = 0 }, ["end"] = { line = 12, character = 0 } },
  options = { tabSize = 2, insertSpaces = true } })
check(ranged == nil or #ranged == 0, "range formatting of laid-out lines: " .. vim.inspect(ranged))
local typed = ask("textDocument/onTypeFormatting", { textDocument = { uri = uri },
  position = { line = 11, character = 0 }, ch = "\n", options = { tabSize = 2, insertSpaces = true } })
check(typed == nil or type(typed) == "table", "on-type formatting")

vim.lsp.stop_client(client)
finish(nil)
