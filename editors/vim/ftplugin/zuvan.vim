" ZuvanFatigue card decks: text values (names, comments) start in column 21.
if exists("b:did_ftplugin")
  finish
endif
let b:did_ftplugin = 1
setlocal colorcolumn=21
setlocal expandtab
setlocal commentstring=/\ %s
let b:undo_ftplugin = "setlocal colorcolumn< expandtab< commentstring<"
