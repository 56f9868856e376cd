10 REM Bubble sort of 2000 numbers given in reverse order
20 N=2000
30 DIM A(N)
40 FOR I=1 TO N:A(I)=N-I:NEXT I
50 FOR I=1 TO N-1
60 FOR J=1 TO N-I
70 IF A(J)>A(J+1) THEN T=A(J):A(J)=A(J+1):A(J+1)=T
80 NEXT J
90 NEXT I
100 PRINT A(1);A(N)
