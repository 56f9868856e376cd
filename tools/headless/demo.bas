10 REM A first look at the interpreter without a window
20 CLS
30 PRINT "Kivo-BASIC"
40 PRINT "Squares and cubes:"
50 FOR I=1 TO 5
60 PRINT I,I*I,I*I*I
70 NEXT I
80 S$="Ready"
90 IF I>5 THEN PRINT S$+"." ELSE PRINT "?"
100 END
