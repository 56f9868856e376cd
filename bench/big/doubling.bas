10 REM Big strings: double a text 28 times, to 256 MB
20 A$="X"
30 FOR I=1 TO 28:A$=A$+A$:NEXT
40 PRINT LEN(A$)
