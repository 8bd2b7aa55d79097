-- Fixture templates in Neovim (0.7 and later): the filetype, the Vim syntax
-- file for highlighting, a remark for 'commentstring', the indent fxtfmt
-- uses, and fxt-language-server for every template buffer (its semantic
-- tokens colour the template further in Neovim 0.9 and later).
-- Copy it to ~/.config/nvim/plugin/fxt.lua, or :luafile it. The syntax file
-- is found beside this file (../vim), where the package installs it
-- (share/fxt/editors/vim), or where vim.g.fxt_vim_files names it.
vim.cmd([[autocmd BufRead,BufNewFile *.fxt setfiletype fxt]])

local server = "fxt-language-server"

local function vim_files()
  local here = debug.getinfo(1, "S").source:gsub("^@", "")
  local candidates = {
    vim.g.fxt_vim_files,
    vim.fn.fnamemodify(vim.fn.resolve(here), ":p:h:h") .. "/vim",
    "/usr/local/share/fxt/editors/vim",
    "/usr/share/fxt/editors/vim",
  }
  for _, folder in pairs(candidates) do
    if folder and vim.fn.filereadable(folder .. "/syntax/fxt.vim") == 1 then return folder end
  end
  return nil
end

local syntax = vim_files()
if syntax and not vim.tbl_contains(vim.opt.runtimepath:get(), syntax) then
  vim.opt.runtimepath:append(syntax)
end

local client_id = nil
local told = false
local function tell_once(message)
  if told then return end
  told = true
  vim.schedule(function() vim.notify(message, vim.log.levels.WARN) end)
end

vim.api.nvim_create_autocmd("FileType", {
  pattern = "fxt",
  callback = function(args)
    vim.bo[args.buf].commentstring = "/ %s"
    vim.bo[args.buf].shiftwidth = 2
    vim.bo[args.buf].expandtab = true
    if vim.fn.executable(server) ~= 1 then
      tell_once("fxt: " .. server .. " is not on PATH, so templates get no diagnostics, " ..
        "hovers or formatting; install it (or add its folder to PATH) and reopen the file")
      return
    end
    if client_id == nil or vim.lsp.get_client_by_id(client_id) == nil then
      client_id = vim.lsp.start_client({
        name = "fxt",
        cmd = { server, "--stdio" },
        root_dir = vim.fn.getcwd(),
      })
    end
    if client_id == nil then
      tell_once("fxt: " .. server .. " could not be started")
      return
    end
    vim.lsp.buf_attach_client(args.buf, client_id)
  end,
})
