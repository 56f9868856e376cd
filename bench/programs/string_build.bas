10 REM Building strings by concatenation
20 FOR J=1 TO 300
30 S$=""
40 FOR I=1 TO 200:S$=S$+"ab":NEXT I
50 NEXT J
60 IF S$=T$ THEN PRINT "empty" ELSE PRINT "built"
