10 REM Strings: concatenation, LEFT$, MID$, RIGHT$, INSTR and LEN
20 N#=0
30 FOR J=1 TO 3000
40 S$=""
50 FOR I=1 TO 120
60 S$=S$+"ab"
70 T$=LEFT$(S$,I)+MID$(S$,I,2)+RIGHT$(S$,I)
80 N#=N#+LEN(T$)+INSTR(I,S$,"ba")
90 NEXT I
100 NEXT J
110 PRINT N#
