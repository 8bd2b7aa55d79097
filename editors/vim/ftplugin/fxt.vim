" Fixture templates: a '/' starts a remark; :make checks with fxtlint.
if exists('b:did_ftplugin')
  finish
endif
let b:did_ftplugin = 1

setlocal commentstring=/\ %s
setlocal comments=:/
compiler fxtlint
let b:undo_ftplugin = 'setlocal commentstring< comments< makeprg< errorformat<'
