" Fixture templates for a lighting control desk.
autocmd BufRead,BufNewFile *.fxt setfiletype fxt
