10 REM INSTR of texts of 1 MB and 2 MB: "XX...X" searched for "XX...XY" and found at the end
20 A$=STRING$(255,"X"):FOR I=1 TO 12:A$=A$+A$:NEXT
30 B$=A$+"Y"
40 PRINT INSTR(A$+A$,B$);INSTR(A$+B$,B$)
