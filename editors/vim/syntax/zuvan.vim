" Vim syntax file
" Language:    ZuvanFatigue card decks (context and data decks)
" Files:       *.ctx, *.data, *.dat (see ftdetect/zuvan.vim)
"
" Cards begin with their keyword in column 1; text values (names, comments,
" references) stand from column 21 to the end of the line; "/" in column 1
" begins a comment. A line that begins with a blank or a tab stops the run
" (code 40) and is marked as an error.

if exists("b:current_syntax")
  finish
endif

syn case match

" Anything in column 1 that is not a card, a comment or an empty line.
syn match zuvanBadLine "^[^*/].*$"
syn match zuvanBadLine "^[ \t].*$"

syn match zuvanComment "^/.*$" contains=@Spell

" A "*" word that no reader knows.
syn match zuvanUnknownCard "^\*\S*"

" Numbers of the token cards, and a decimal comma (refused).
syn match zuvanNumber "\s\zs[-+]\=\%(\d\+\.\=\d*\|\.\d\+\)\%([eE][-+]\=\d\+\)\=\ze\%(\s\|$\)" contained
syn match zuvanBadNumber "\s\zs[-+]\=\d*,\d\+\S*" contained
" Text value from column 21; the keyword and its blanks fill columns 1 to 20.
syn match zuvanText "\%>20v.*$" contained contains=@Spell
" A text value that starts before column 21 loses its first characters.
syn match zuvanShortPad "\%<21v\s\@<=\S.*$" contained

" Block headers and their end cards.
syn match zuvanBlock "^\*\%(CLASSIFICATION\|CLASSE\|MATERIAU\|UWCOURBE\|COMPOSANT\|UWZONE\|CORDON\|HISTORIQUE\|IMPERFECTION\|RELEVEQUAD\|RELEVELIN\|RELEVE\)\%(\s\|$\)\@=" contained
syn match zuvanBlock "^\*DOMMAGE\>"
syn match zuvanEnd "^\*FIN_\%(CLASSIFICATION\|CLASSE\|MATERIAU\|UWCOURBE\|COMPOSANT\|UWZONE\|CORDON\|HISTORIQUE\|IMPERFECTION\|RELEVEQUAD\|RELEVELIN\|RELEVE\|DOMMAGE\)\>"

" Cards that carry a text value from column 21.
syn match zuvanTextCardKey "^\*\%(COMMENTAIRE\|COMPOSANT_MATERIAU\|COMPOSANT_1\|COMPOSANT_2\|CORDON_CLASSE\|CORDON_TYPE\|UWZONE_COMPOSANT\|HISTORIQUE_UWZONE\|HISTORIQUE_CORDON\|HISTORIQUE_GORGE\|NUMERO\|SOUSTYPE\|POINT_HISTORIQUE\|FICHIER_SORTIE\)\>" contained
syn match zuvanTextLine "^\*\%(CLASSIFICATION\|CLASSE\|MATERIAU\|UWCOURBE\|COMPOSANT\|UWZONE\|CORDON\|HISTORIQUE\|IMPERFECTION\|RELEVEQUAD\|RELEVELIN\|RELEVE\)\%(\s\|$\).*$" contains=zuvanBlock,zuvanText,zuvanShortPad
syn match zuvanTextLine "^\*\%(COMMENTAIRE\|COMPOSANT_MATERIAU\|COMPOSANT_1\|COMPOSANT_2\|CORDON_CLASSE\|CORDON_TYPE\|UWZONE_COMPOSANT\|HISTORIQUE_UWZONE\|HISTORIQUE_CORDON\|HISTORIQUE_GORGE\|NUMERO\|SOUSTYPE\|POINT_HISTORIQUE\|FICHIER_SORTIE\)\>.*$" contains=zuvanTextCardKey,zuvanText,zuvanShortPad

" Cards that carry numbers or a word after the keyword.
syn match zuvanValueCardKey "^\*\%(PARAMETRES\|PARAMETRE\|RPT\|DIAMETRE\|TYPE\|SIJLTA\|SIJLTB\|SIJLTC\|SIJLMA\|SIJLMB\|SIJLMC\|SIJMA\|SIJMB\|SIJMC\|SIJA\|SIJB\|SIJC\|SIJLT\|SIJLM\|SIJM\|SIJ\)\>" contained
syn match zuvanValueLine "^\*\%(PARAMETRES\|PARAMETRE\|RPT\|DIAMETRE\|TYPE\|SIJLTA\|SIJLTB\|SIJLTC\|SIJLMA\|SIJLMB\|SIJLMC\|SIJMA\|SIJMB\|SIJMC\|SIJA\|SIJB\|SIJC\|SIJLT\|SIJLM\|SIJM\|SIJ\)\>.*$" contains=zuvanValueCardKey,zuvanNumber,zuvanBadNumber

" Cards without a value.
syn match zuvanFlag "^\*\%(CIRCONFERENTIEL\|LONGITUDINAL\|RAINFLOW\|RESERVOIR\)\>"

hi def link zuvanComment      Comment
hi def link zuvanBlock        Structure
hi def link zuvanEnd          Structure
hi def link zuvanTextCardKey  Keyword
hi def link zuvanValueCardKey Keyword
hi def link zuvanFlag         Keyword
hi def link zuvanText         String
hi def link zuvanNumber       Number
hi def link zuvanBadNumber    Error
hi def link zuvanShortPad     Error
hi def link zuvanUnknownCard  Error
hi def link zuvanBadLine      Error

let b:current_syntax = "zuvan"
