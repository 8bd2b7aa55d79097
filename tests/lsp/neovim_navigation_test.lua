-- Neovim's own LSP client, with the configuration shipped in editors/neovim,
-- on a template whose early lines hold errors: inlay hints, references, a
-- rename that Neovim applies to the buffer, and workspace symbols from a
-- template of the working directory.
--   PATH=SERVER_DIR:$PATH FXT_CONFIG=editors/neovim/fxt.lua FXT_TEMPLATE=file.fxt \
--     nvim --headless --clean -c "luafile neovim_navigation_test.lua"
local template = os.getenv("FXT_TEMPLATE")

local function finish(problem)
  if problem then
    io.stderr:write("FAIL: " .. problem .. "\n")
    vim.cmd("cquit 1")
  end
  io.stdout:write("neovim: hints, references, rename and workspace symbols as expected\n")
  vim.cmd("qall!")
end

local function check(condition, problem)
  if not condition then finish(problem) end
end

-- The workspace: a folder with one more template, the working directory.
local folder = vim.fn.tempname()
vim.fn.mkdir(folder, "p")
vim.fn.writefile({ "fixture", 'name = "Other Lamp"', 'manufacturer = "Acme"', "version = 1.0",
  "attribute", '  name = "INTENSITY"', "  channel = 0", "end" }, folder .. "/other.fxt")
vim.cmd("cd " .. vim.fn.fnameescape(folder))

vim.cmd("luafile " .. vim.fn.fnameescape(os.getenv("FXT_CONFIG")))
vim.cmd("edit " .. vim.fn.fnameescape(template))
local buffer = vim.api.nvim_get_current_buf()
check(vim.wait(5000, function() return #vim.lsp.buf_get_clients(buffer) > 0 end, 50),
  "no language server attached")
local client = vim.lsp.buf_get_clients(buffer)[1].id
check(vim.wait(15000, function() return #vim.diagnostic.get(buffer) > 0 end, 50),
  "no diagnostics within 15 s")

local uri = vim.uri_from_bufnr(buffer)
local function ask(method, params)
  local answers = vim.lsp.buf_request_sync(buffer, method, params, 10000)
  check(answers ~= nil and answers[client] ~= nil, "no answer to " .. method)
  check(answers[client].err == nil, method .. " failed")
  return answers[client].result
end

-- Line 11 (0-based 10) is "  channel = 1" of PAN, after the errors of lines
-- 4 and 5; line 33 (0-based 32) is "  attriblist = 1,3".
local hints = ask("textDocument/inlayHint", { textDocument = { uri = uri },
  range = { start = { line = 0, character = 0 }, ["end"] = { line = 60, character = 0 } } })
local seen = {}
for _, hint in ipairs(hints) do seen[hint.position.line .. ":" .. hint.label] = true end
check(seen["10:DMX 1\u{2013}2 (16-bit)"] and seen["32:\u{27f5} PAN"],
  "inlay hints: " .. vim.inspect(vim.tbl_keys(seen)))

local references = ask("textDocument/references", { textDocument = { uri = uri },
  position = { line = 10, character = 12 }, context = { includeDeclaration = false } })
check(#references == 1 and references[1].range.start.line == 32, "references: " .. vim.inspect(references))

vim.api.nvim_win_set_cursor(0, { 11, 12 })
vim.lsp.buf.rename("20")
check(vim.wait(5000, function()
  return vim.api.nvim_buf_get_lines(buffer, 32, 33, true)[1] == "  attriblist = 20,3"
end, 50), "the rename was not applied: " .. vim.inspect(vim.api.nvim_buf_get_lines(buffer, 0, 40, true)))
check(vim.api.nvim_buf_get_lines(buffer, 10, 11, true)[1] == "  channel = 20", "channel line not renamed")

local symbols = ask("workspace/symbol", { query = "amp" })
local names = {}
for _, symbol in ipairs(symbols) do table.insert(names, symbol.name) end
check(vim.tbl_contains(names, "Other Lamp"), "workspace symbols: " .. table.concat(names, ", "))

vim.lsp.stop_client(client)
vim.fn.delete(folder, "rf")
finish(nil)
