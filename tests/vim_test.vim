" The Vim files of editors/vim, in the real vim: a *.fxt file gets the
" filetype fxt, its syntax groups stand where they should, and :make with
" the fxtlint compiler fills the quickfix list. Run by vim_test.sh.
let s:failures = []

function! s:Check(condition, problem) abort
  if !a:condition
    call add(s:failures, a:problem)
  endif
endfunction

function! s:Group(line, column) abort
  return synIDattr(synID(a:line, a:column, 1), 'name')
endfunction

let &runtimepath = $FXT_VIM_DIR . ',' . &runtimepath
filetype plugin on
syntax on
execute 'edit ' . fnameescape($FXT_TEMPLATE)
call s:Check(&filetype ==# 'fxt', 'filetype ' . &filetype)
call s:Check(&commentstring ==# '/ %s', 'commentstring ' . &commentstring)

" line, column, group: the sample's lines are in vim_test.sh.
for [s:line, s:column, s:group] in [
      \ [1, 1, 'fxtComment'],
      \ [2, 1, 'fxtBlock'],
      \ [3, 1, 'fxtProperty'], [3, 8, 'fxtString'],
      \ [5, 3, 'fxtProperty'], [5, 13, 'fxtNumber'],
      \ [6, 13, 'fxtHex'],
      \ [8, 3, 'fxtStop'], [8, 10, 'fxtParen'], [8, 11, 'fxtMark'], [8, 12, 'fxtSlotNumber'],
      \ [8, 13, 'fxtRange'], [8, 19, 'fxtMode'], [8, 21, 'fxtString'],
      \ [9, 11, 'fxtQuotedRemark'], [9, 14, 'fxtString'],
      \ [10, 1, 'fxtProperty'], [10, 11, 'fxtNumber'], [10, 12, 'fxtNumber'],
      \ [11, 1, 'fxtProperty'], [11, 6, 'fxtProperty'],
      \ ]
  call s:Check(s:Group(s:line, s:column) ==# s:group,
        \ printf('line %d, column %d: %s, expected %s', s:line, s:column,
        \        s:Group(s:line, s:column), s:group))
endfor

call s:Check(get(b:, 'current_compiler', get(g:, 'current_compiler', '')) ==# 'fxtlint',
      \ 'the compiler is not fxtlint')
" The report goes to the error file alone, not to the screen as well.
set shellpipe=>%s\ 2>&1
silent make
let s:entries = map(getqflist(), '[v:val.lnum, v:val.col, v:val.type, v:val.text]')
for s:expected in [
      \ [5, 13, 'e', 'invalid channel number [FT304]'],
      \ [5, 13, 'n', 'channel 65 is not in 1 to 64'],
      \ [2, 1, 'w', 'template version number missing [FT211]'],
      \ ]
  call s:Check(index(s:entries, s:expected) >= 0,
        \ 'no quickfix entry ' . string(s:expected) . ' in ' . string(s:entries))
endfor

if empty(s:failures)
  qall!
endif
call writefile(s:failures, $FXT_FAILURES)
cquit 1
