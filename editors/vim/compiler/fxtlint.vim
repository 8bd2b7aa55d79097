" fxtlint as Vim's compiler: :make fills the quickfix list with its
" diagnostics, and their notes as entries of their own.
if exists('current_compiler')
  finish
endif
let current_compiler = 'fxtlint'

CompilerSet makeprg=fxtlint\ %:S
CompilerSet errorformat=%f:%l:%c:\ %trror:\ %m,%f:%l:%c:\ %tarning:\ %m,%f:%l:%c:\ %tote:\ %m,%-G%.%#
