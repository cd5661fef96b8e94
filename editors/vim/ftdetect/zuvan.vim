" ZuvanFatigue card decks: context decks (*.ctx) and data decks (*.data, *.dat).
autocmd BufRead,BufNewFile *.ctx,*.data setfiletype zuvan
" *.dat is a common extension: a deck begins with a comment or a card.
autocmd BufNewFile *.dat setfiletype zuvan
autocmd BufRead *.dat if getline(1) =~# '^\%(\xef\xbb\xbf\)\=[/*]' | setfiletype zuvan | endif
