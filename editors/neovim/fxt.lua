-- Fixture templates in Neovim (0.7 and later): the filetype, a remark for
-- 'commentstring', and fxt-language-server for every template buffer.
-- Copy it to ~/.config/nvim/plugin/fxt.lua, or :luafile it.
vim.cmd([[autocmd BufRead,BufNewFile *.fxt setfiletype fxt]])

local client_id = nil
vim.api.nvim_create_autocmd("FileType", {
  pattern = "fxt",
  callback = function(args)
    vim.bo[args.buf].commentstring = "/ %s"
    if client_id == nil or vim.lsp.get_client_by_id(client_id) == nil then
      client_id = vim.lsp.start_client({
        name = "fxt",
        cmd = { "fxt-language-server", "--stdio" },
        root_dir = vim.fn.getcwd(),
      })
    end
    vim.lsp.buf_attach_client(args.buf, client_id)
  end,
})
