" Fixture templates: keywords at the start of a line in any letter case,
" quoted names, numbers, remarks after '/', and the parts of a stop line.
if exists('b:current_syntax')
  finish
endif

syntax case ignore

syntax match fxtComment "/.*$" contains=@Spell
" A quoted text ends at its closing quote, or at the line's end when there
" is none; it never reaches the next line.
syntax region fxtString start=/"/ end=/"\|$/ oneline keepend contains=fxtQuotedRemark
" A '/' between quotes ends the line, which the tester reports.
syntax match fxtQuotedRemark +/[^"]*+ contained
syntax match fxtHex "\<0x\x\+\>"
syntax match fxtNumber "-\=\<\d\+\>"
" A version: two numbers with a point between them.
syntax match fxtNumber "\<\d\+\.\d\+\>"
syntax match fxtOperator "="

" The tester drops every blank of a line before it reads the keyword, so
" "Chan Nel = 5" is a channel line: a keyword may hold blanks anywhere.
function! s:Spaced(words) abort
  return join(map(copy(a:words), 'join(split(v:val, ''\zs''), ''\s*'')'), '\|')
endfunction
let s:start = '^\s*\*\=\s*'
execute 'syntax match fxtBlock "' . s:start . '\%(' .
      \ s:Spaced(['fixture', 'attribute', 'parameter', 'end']) . '\)\>"'
execute 'syntax match fxtProperty "' . s:start . '\%(' .
      \ s:Spaced(['name', 'version', 'manufacturer', 'product', 'numdmx', 'channel', 'finechan',
      \           'homeval', 'minval', 'maxval', 'deflection', 'invert', 'type', 'attriblist',
      \           'displayernum']) . '\)\ze\s*="'
delfunction s:Spaced
unlet s:start

syntax match fxtStop "^\s*\*\=\s*\<s\s*t\s*o\s*p\>\ze\s*=" nextgroup=fxtStopEquals skipwhite
syntax match fxtStopEquals "=" contained nextgroup=fxtSlots skipwhite
syntax region fxtSlots matchgroup=fxtParen start=/(/ end=/)/ contained oneline contains=fxtSlotNumber,fxtMark,fxtRange nextgroup=fxtModeComma skipwhite
" Within the slots a mark may stand against a number: m0x10, 128r.
syntax match fxtSlotNumber "0x\x*\|\d\+" contained
syntax match fxtMark "[mr]" contained
syntax match fxtRange ":" contained
syntax match fxtModeComma "," contained nextgroup=fxtMode skipwhite
syntax match fxtMode "[nbw123d]\>" contained

highlight default link fxtComment Comment
highlight default link fxtString String
highlight default link fxtQuotedRemark Error
highlight default link fxtHex Number
highlight default link fxtNumber Number
highlight default link fxtOperator Operator
highlight default link fxtBlock Statement
highlight default link fxtProperty Keyword
highlight default link fxtStop Keyword
highlight default link fxtStopEquals Operator
highlight default link fxtParen Delimiter
highlight default link fxtSlotNumber Number
highlight default link fxtMark Special
highlight default link fxtRange Delimiter
highlight default link fxtModeComma Delimiter
highlight default link fxtMode Type

let b:current_syntax = 'fxt'
