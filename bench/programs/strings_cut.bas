10 REM Strings: append a character, MID$ of the middle two, INSTR, cut back to 100
20 S$="":N#=0
30 FOR J=1 TO 20000
40 FOR K=0 TO 99
50 S$=S$+CHR$(65+K MOD 26)
60 M$=MID$(S$,LEN(S$)\2+1,2)
70 N#=N#+INSTR(S$,M$)
80 IF LEN(S$)>=200 THEN S$=LEFT$(S$,100)
90 NEXT K
100 NEXT J
110 PRINT N#
